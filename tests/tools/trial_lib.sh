# Shared by the trial scripts, sourced as
#   . trial_lib.sh NAME TRACKLORE-CLI QUILL
# the two programs, a scratch directory NAME.* (removed on exit) made
# current with a new catalogue in it, the failures counted in $bad and the
# checks every trial ends with.
set -u
cli=$(realpath "$2")
quill=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
"$cli" create >/dev/null || exit 1

bad=0
problem() { echo "${round:+round $round: }$*" >&2; bad=1; }

# Verify and the integrity check of every table.
checkwhole() {
  "$cli" verify 2>/dev/null | grep -q "no problems found" || problem "verify found problems"
  for t in maindb attr001 attr002 rel001 rel002 fullname scanfile; do
    "$quill" check "$t" >/dev/null 2>&1 || problem "quill check $t failed"
  done
}

# An import file of $1 albums over a shared pool of artists and songs,
# seven entries to an album.
importfile() {
  echo "album,kind,position,name"
  for a in $(seq 1 "$1"); do
    for p in 0 1; do echo "Imported $a,artist,$p,Artist $(((a + p * 7) % 50))"; done
    for p in 0 1 2 3 4; do echo "Imported $a,song,$p,Song $(((a * 3 + p) % 300))"; done
  done
}

# Whole imported albums only: every one present has all seven entries (a
# name imported in several rounds, seven for each).
checkwholealbums() {
  local partial
  partial=$("$cli" export | awk -F, '$1 ~ /^Imported/ { n[$1]++ } END { for (a in n) if (n[a] % 7) print a }')
  [ -z "$partial" ] || problem "partial albums: $partial"
}

# A music folder of $1 albums of $2 tiny FLAC files (silence, made by flac
# and tagged by metaflac); tags A T prints the metaflac options of track T
# of album A.
musicfolder() {
  local a t
  head -c 1600 /dev/zero | flac -s -f --force-raw-format --endian=little --sign=signed \
    --channels=1 --bps=16 --sample-rate=8000 -o template.flac - || exit 1
  for a in $(seq 1 "$1"); do
    mkdir -p "music/$a"
    for t in $(seq 1 "$2"); do
      cp template.flac "music/$a/$t.flac"
      eval "metaflac $(tags "$a" "$t") --set-tag=TRACKNUMBER=$t music/$a/$t.flac" || exit 1
    done
  done
}
