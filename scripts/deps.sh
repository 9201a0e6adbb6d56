#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/deps.sh [test|run|package|fuzz]
set -euo pipefail

# The program's windows are Qt 6 Widgets.
# TagLib reads the audio files' tags for the folder scan.
# Qt's LinguistTools (lupdate, lrelease and their CMake package) make the
# translations; qt6-translations-l10n holds Qt's own German and French.
# ICU derives the stored form of a name from its full form.
packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libtag1-dev libicu-dev)
if [ "${1:-}" = package ]; then
  # cpack reads the programs' library dependencies with dpkg-shlibdeps.
  packages+=(dpkg-dev file)
fi
if [ "${1:-}" = test ]; then
  # The scripted session runs the real program on a virtual X server.
  packages+=(libsqlite3-dev xvfb xauth xdotool imagemagick)
  # The install tree is checked as desktops and package managers read it.
  packages+=(desktop-file-utils appstream man-db dpkg-dev file)
  # Encoders that make the tiny silent audio files the tag tests read.
  packages+=(flac vorbis-tools opus-tools lame wavpack)
fi

if [ "${1:-}" = fuzz ]; then
  # fuzz/run.sh: libFuzzer and the sanitizers come with clang.
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
