#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop and a
# package manager will read of it: every file in its place, the desktop entry
# and the AppStream metadata valid, the manual pages formatted without
# warnings, and a Debian package that names its libraries as dependencies.
# A validator that is not installed is left out with a note.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.tracklore.tracklore
expected=(bin/tracklore bin/tracklore-cli bin/quill share/tracklore/index.htm
          share/applications/$id.desktop share/metainfo/$id.metainfo.xml
          share/icons/hicolor/scalable/apps/$id.svg
          share/man/man1/tracklore.1 share/man/man1/tracklore-cli.1 share/man/man1/quill.1
          share/tracklore/translations/tracklore_de.qm share/tracklore/translations/tracklore_fr.qm)
for size in 16 32 48 64 128 256; do expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png); done
for f in "${expected[@]}"; do [ -e "$prefix/$f" ] || fail "not installed: $f"; done
[ -x "$prefix/bin/tracklore-cli" ] || fail "tracklore-cli is not executable"
"$prefix/bin/tracklore-cli" --help >/dev/null || fail "the installed tracklore-cli does not run"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
else echo "note: desktop-file-validate is not installed"; fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" \
    || fail "AppStream metadata"
else echo "note: appstreamcli is not installed"; fi
if command -v man >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    grep -q NAME <<<"$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)" || fail "$(basename "$page") is empty"
  done
else echo "note: man is not installed"; fi

if command -v dpkg-shlibdeps >/dev/null && command -v dpkg-deb >/dev/null; then
  (cd "$scratch" && cpack -G DEB --config "$(realpath "$build")/CPackConfig.cmake" >/dev/null) \
    || fail "cpack -G DEB"
  deb=$(ls "$scratch"/tracklore_*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libstdc++6; do
    grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib: $depends"
  done
  contents=$(dpkg-deb -c "$deb")
  grep -q "usr/bin/tracklore$" <<<"$contents" || fail "the package lacks usr/bin/tracklore"
  grep -q "usr/share/tracklore/translations/tracklore_de.qm$" <<<"$contents" \
    || fail "the package lacks the translations"
else echo "note: dpkg-shlibdeps is not installed; no package made"; fi
echo "install tree and package checked"
