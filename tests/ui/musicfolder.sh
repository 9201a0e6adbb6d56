#!/usr/bin/env bash
# Writes a music folder of tiny tagged FLAC files (metadata only: all a tag
# reader needs) for the session's scan: ARTISTS artists of ALBUMS albums of
# ten songs each in Artist/Album, titles from a pool so that albums share
# songs. Plain bash, so that it needs nothing installed.
# Usage: musicfolder.sh DIR [ARTISTS [ALBUMS]]
set -eu
export LC_ALL=C  # lengths in bytes
dir=${1:?usage: musicfolder.sh DIR [ARTISTS [ALBUMS]]}
artists=${2:-40}
albums=${3:-8}

first=(Marta Jonas Ada Felix Ines Oskar Lena Milo Vera Anton Clara Hugo Nora Emil Rosa Otto)
last=(Lindqvist Moreau Halloran Brandt Castell Novak Ferreira Quinn Adler Sorensen Valdez Okafor)
bands=("The Quiet Harbour" "Paper Lanterns" "North Of Nowhere" "The Glass Orchard" "Velvet Static"
       "Saltwater Choir" "The Long Afternoons" "Copper Kites")
adjective=(Northern Silent Golden Restless Hidden Electric Distant Borrowed Paper Winter Midnight Open)
noun=(Lights Rivers Rooms Signals Harbours Gardens Letters Horizons Engines Seasons Maps Windows)
words=(Morning Rain Falling Slowly Home Again Blue Hour Summer Glass Heart Road Fire Little
       Wonder Echo Sleep Dancing Over Under City Lights Ocean Drive Silver Line Quiet Storm)

le32() {
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255))
}
be24() { printf '\\x%02x\\x%02x\\x%02x' $(($1 >> 16 & 255)) $(($1 >> 8 & 255)) $(($1 & 255)); }

# flac FILE COMMENT... : STREAMINFO (44.1 kHz stereo 16 bits, no samples)
# and the Vorbis comment block.
flac() {
  local file=$1 body="" length=0 comment
  shift
  local vendor=tracklore
  body+=$(le32 ${#vendor})$vendor$(le32 $#)
  length=$((4 + ${#vendor} + 4))
  for comment in "$@"; do
    body+=$(le32 ${#comment})$comment
    length=$((length + 4 + ${#comment}))
  done
  {
    printf 'fLaC\x00\x00\x00\x22\x10\x00\x10\x00\x00\x00\x00\x00\x00\x00\x0a\xc4\x42\xf0\x00\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf "\\x84$(be24 $length)"
    printf "$body"
  } >"$file"
}

mkdir -p "$dir"
for ((a = 0; a < artists; ++a)); do
  if ((a < ${#bands[@]})); then
    artist=${bands[a]}
  else
    artist="${first[a % ${#first[@]}]} ${last[(a * 7) % ${#last[@]}]}"
  fi
  for ((b = 0; b < albums; ++b)); do
    # Every album its own name while there are names enough.
    k=$((a * albums + b))
    album="${adjective[k % ${#adjective[@]}]} ${noun[(k / ${#adjective[@]} + k) % ${#noun[@]}]}"
    mkdir -p "$dir/$artist/$album"
    for ((t = 1; t <= 10; ++t)); do
      n=$((a * 131 + b * 17 + t * 7))
      title="${words[n % ${#words[@]}]} ${words[(n / 3 + t) % ${#words[@]}]}"
      flac "$dir/$artist/$album/$(printf %02d $t) $title.flac" "TITLE=$title" "ALBUM=$album" \
        "ARTIST=$artist" "ALBUMARTIST=$artist" "TRACKNUMBER=$t" "DISCNUMBER=1"
    done
  done
done
