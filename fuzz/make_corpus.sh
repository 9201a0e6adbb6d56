#!/usr/bin/env bash
# Makes the seed corpus of the fuzz targets (fuzz/corpus/<target>/) with the
# project's own tools: small, valid files of every kind the targets read.
# Usage: fuzz/make_corpus.sh [BUILD_DIR]   (a build with quill and tracklore-cli)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-test}" && pwd)
quill="$build/tools/quill"
cli="$build/tools/cli/tracklore-cli"
for tool in "$quill" "$cli"; do
  [ -x "$tool" ] || { echo "make_corpus.sh: $tool is not built" >&2; exit 1; }
done

corpus="$root/fuzz/corpus"
rm -rf "$corpus"
mkdir -p "$corpus"/{datafile_fuzz,index_fuzz,keys_fuzz,csv_fuzz}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Data files: an empty table, and one with every field type, tags over
# texts and numbers with their flags, a header-record field and a deleted
# record.
"$quill" create empty >/dev/null
"$quill" create every --namelen 10 --pagesize 128 >/dev/null
"$quill" add-field every C 24 Name >/dev/null
"$quill" add-field every X 4 Code >/dev/null
"$quill" add-field every L 4 Count >/dev/null
"$quill" add-field every S 2 Small >/dev/null
"$quill" add-field every D 8 Price >/dev/null
"$quill" add-field every F 4 Ratio >/dev/null
"$quill" add-field every B 3 Raw >/dev/null
"$quill" add-field every C 6 Short >/dev/null
"$quill" add-field every L 4 Area --header >/dev/null
"$quill" add-tag every Name Name >/dev/null
"$quill" add-tag every Code Code >/dev/null
"$quill" add-tag every Mixed Short:4:0x20 Count:0:0x101 Small >/dev/null
"$quill" reindex every >/dev/null
printf '%s\n' \
  $'Abbey Road\t17\t-2\t9.5\t0.25\tab\tzz' \
  $'track 10\t300\t7\t-1\t3\tff00\tq' \
  $'Track 2\t70000\t0\t0\t-0.5\t010203\tAa' \
  $'\xc0 la carte\t-1\t-32768\t1e300\t1\t7f\t' >rows
"$quill" load every rows >/dev/null
"$quill" delete every 1 >/dev/null
# (Named without extensions: the repository ignores table files elsewhere.)
cp empty.db1 "$corpus/datafile_fuzz/empty"
cp every.db1 "$corpus/datafile_fuzz/every"

# The index target's own table (see index_fuzz.cpp), built the same way, so
# that its index opens and can be changed.
"$quill" create base --pagesize 96 >/dev/null
"$quill" add-field base C 20 Name >/dev/null
"$quill" add-field base L 4 N >/dev/null
"$quill" add-tag base Name Name >/dev/null
"$quill" add-tag base N N >/dev/null
"$quill" reindex base >/dev/null
for i in $(seq 0 59); do printf 'Track %d\t%d\n' $((i % 17)) $((i * 7 % 23)); done >base.rows
"$quill" load base base.rows >/dev/null
cp base.idx "$corpus/index_fuzz/sound"
cp every.idx "$corpus/index_fuzz/every"

# A small music database: its tables, its indexes and its export.
mkdir music
(
  cd music
  "$cli" create >/dev/null
  "$cli" link "Abbey Road" artist "The Beatles" >/dev/null 2>&1 || {
    "$cli" add album "Abbey Road" >/dev/null
    "$cli" link "Abbey Road" artist "The Beatles" >/dev/null
  }
  "$cli" link "Abbey Road" song "Come Together" >/dev/null
  "$cli" link "Abbey Road" song "Something" >/dev/null
  "$cli" add album "Blue Moon Waltz" >/dev/null
  "$cli" link "Blue Moon Waltz" song "Track 2" >/dev/null
  "$cli" link "Blue Moon Waltz" song "Track 10" >/dev/null
  "$cli" add album "Empty" >/dev/null
  "$cli" export ../music.csv >/dev/null
)
for table in maindb attr001 attr002 rel001 rel002; do
  cp "music/$table.db1" "$corpus/datafile_fuzz/music-$table"
  cp "music/$table.idx" "$corpus/index_fuzz/music-$table"
done

# CSV: the export, and the forms the reader accepts (quotes, a quoted line
# break, LF line ends, a byte order mark, no last line end).
cp music.csv "$corpus/csv_fuzz/export.csv"
printf '\xef\xbb\xbfalbum,kind,position,name\n"Live, at ""Home""",song,0,"Two\r\nLines"\nLive,artist,0, Spaced \nBare,,,' \
  >"$corpus/csv_fuzz/forms.csv"

# Keys for the comparison target: a byte choosing how many components
# count, a byte choosing where the first key ends, then the two keys.
key() { printf "$1" >"$corpus/keys_fuzz/$2"; }
key '\x00\x0aTrack 1\x00Track 12\x00' text-prefix
key '\x00\x0athe blue mo\x00The Blue Moon\x00' text-words
key '\x01\x0eabc\x00\x00\x00\x00\x05abc\x00\x00\x00\x01\x2c' text-number
key '\x05\x24x\x00\x00\x00\x00\x07\xff\xfe\x01\x02\x03Abc\x00\x00\x00\x00\x00x\x00\x00\x00\x00\x07\x00\x01\x01\x02\x03abc\x00\x00\x00\x00\x00' all-parts
echo "corpus: $(du -sh "$corpus" | cut -f1) in $(find "$corpus" -type f | wc -l) files"
