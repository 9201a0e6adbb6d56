#!/bin/bash
# kill -9 trials: a long import, a scan and streams of single edits are
# killed at a random moment; after `recover`, verify and every table's
# integrity check pass, every acknowledged edit is there, and a second scan
# gives the catalogue of an uninterrupted one.
#   kill_trials.sh TRACKLORE-CLI QUILL [ROUNDS]   (6 by default; 200 by hand)
# Exits 1 when anything was lost.
. "$(dirname "$0")/trial_lib.sh" kill-trials "$@"
rounds=${3:-6} direct=0 recovered=0 scansrecovered=0 lost=0
importfile 400 >import.csv
# 60 albums of 5 tracks sharing artists and songs.
tags() {
  echo "--set-tag='TITLE=Tune $((($1 * 3 + $2) % 40))' --set-tag='ALBUM=Scanned $1'" \
    "--set-tag='ARTIST=Player $((($1 + $2) % 9))' --set-tag='ALBUMARTIST=Band $(($1 % 7))'"
}
musicfolder 60 5
# The catalogue of an uninterrupted scan, and how long that scan takes.
# (without the album codes, which differ)
scanned() { "$cli" export | grep '^Scanned' | sed 's/,[0-9]*\r*$//' | sort; }
mkdir reference && cd reference && "$cli" create >/dev/null || exit 1
started=$(date +%s%N)
"$cli" scan ../music >/dev/null || exit 1
scanms=$((($(date +%s%N) - started) / 1000000))
scanned >../scanned.csv
cd "$work" || exit 1

# Songs of an album as "SEQ NAME" lines.
songs() { "$cli" show "$1" 2>/dev/null | sed -n '/^Songs:/,$p' | tail -n +2; }

# Edits acknowledged by exit status 0 are written to ack.txt as they end.
stream() {
  local album="Round $1" i
  for i in $(seq 1 40); do
    "$cli" link "$album" song "R$1 Song $i" >/dev/null 2>&1 && echo "link R$1 Song $i" >>ack.txt
    ((i % 3)) || "$cli" move "$album" song 0 down >/dev/null 2>&1
  done
  "$cli" --yes delete album "Doomed $1" >/dev/null 2>&1 && echo "delete" >>ack.txt
}

for round in $(seq 1 "$rounds"); do
  bad=0
  : >ack.txt
  if ((round % 3 == 0)); then
    # Into a database of its own, as empty as the reference's.
    what=scan
    mkdir "scan$round" && cd "scan$round" && "$cli" create >/dev/null || exit 1
    setsid "$cli" scan ../music >/dev/null 2>&1 &
  elif ((round % 2 == 1)); then
    what=import
    setsid "$cli" import import.csv >/dev/null 2>&1 &
  else
    what=edits
    "$cli" add album "Round $round" >/dev/null
    "$cli" add album "Doomed $round" >/dev/null
    for k in 1 2 3; do "$cli" link "Doomed $round" song "D$round Song $k" >/dev/null; done
    setsid bash -c "$(declare -f stream); cli='$cli'; stream $round" &
  fi
  victim=$!
  disown  # the shell would announce the kill
  if [ "$what" = scan ]; then
    # Within the scan's own time (it is short), so that most kills land in it.
    delay=$((RANDOM % (scanms + 20)))
    sleep "$((delay / 1000)).$(printf %03d $((delay % 1000)))"
  else
    sleep "0.$((RANDOM % 9 + 1))"
  fi
  kill -9 -- -"$victim" 2>/dev/null

  out=$("$cli" recover 2>&1)
  case "$out" in
    *"Nothing needed mending"*) direct=$((direct + 1)) ;;
    *"Recovery complete"*)
      recovered=$((recovered + 1))
      [ "$what" = scan ] && scansrecovered=$((scansrecovered + 1))
      ;;
    *) problem "recover failed: $out" ;;
  esac
  checkwhole

  if [ "$what" = scan ]; then
    "$cli" scan ../music >/dev/null 2>&1 || problem "the second scan failed"
    scanned | cmp -s - ../scanned.csv || problem "the second scan differs from an uninterrupted one"
    cd "$work" || exit 1
  elif [ "$what" = import ]; then
    checkwholealbums
    "$cli" list albums --prefix Imported | awk -F'\t' '$3 != " " { bad = 1 } END { exit bad }' ||
      problem "an imported album is marked incomplete"
  else
    linked=$(grep -c '^link' ack.txt)
    present=$(songs "Round $round" | wc -l)
    # The edit in flight may have finished unacknowledged: one more, never less.
    [ "$present" -ge "$linked" ] && [ "$present" -le $((linked + 1)) ] ||
      problem "$linked links acknowledged, $present songs present"
    grep '^link' ack.txt | sed 's/^link //' | while read -r song; do
      songs "Round $round" | grep -qF " $song (#" || echo "missing $song"
    done | grep -q . && problem "an acknowledged song is missing"
    doomed=$(songs "Doomed $round" | wc -l)
    if grep -q '^delete' ack.txt; then
      "$cli" show "Doomed $round" >/dev/null 2>&1 && problem "a deleted album is back"
    elif "$cli" show "Doomed $round" >/dev/null 2>&1; then
      [ "$doomed" -eq 3 ] || problem "a half-deleted album with $doomed songs"
    fi
  fi
  lost=$((lost + bad))
done

echo "trials: $rounds; opened directly: $direct; needed recovery: $recovered" \
  "(scans: $scansrecovered of $((rounds / 3))); lost anything: $lost"
[ "$lost" -eq 0 ]
