#!/bin/bash
# A real full disk (a small tmpfs): an import and a scan run out of space
# part way and must fail saying so; with space freed, `recover` brings the
# catalogue back whole: every album acknowledged before, only whole albums
# of the failed step, verify and every table's integrity check clean.
#   diskfull_trial.sh TRACKLORE-CLI QUILL   (exits 77, skipped, unless root)
. "$(dirname "$0")/trial_lib.sh" diskfull-trial "$@"
mkdir disk
mount -t tmpfs -o size=3m tmpfs disk 2>/dev/null || { echo "cannot mount a tmpfs here (not root?): skipped"; exit 77; }
trap 'cd /; umount "$work/disk"; rm -rf "$work"' EXIT
trap 'exit 1' TERM INT

{ echo "album,kind,position,name"; for a in $(seq 1 200); do echo "Kept $a,song,0,Tune $a"; done; } >kept.csv
importfile 3000 >big.csv  # far more than the room left: many batches' worth
tags() { echo "--set-tag='TITLE=Scanned tune $1.$2' --set-tag='ALBUM=Scanned $1' --set-tag='ARTIST=Player $1'"; }
musicfolder 30 3

cd disk || exit 1
"$cli" create >/dev/null && "$cli" import ../kept.csv >/dev/null || { echo "setting up failed"; exit 1; }

# Leaves the file system ROOM kilobytes: less than the step will need.
fill() { head -c $(($(df -B1 --output=avail . | tail -n 1) - room * 1024)) /dev/zero >filler 2>/dev/null; }

# The step ran out of space: it failed and said why; then space again.
trystep() {
  local what=$1 && shift
  fill
  if "$@" >"$work/out.txt" 2>"$work/err.txt"; then
    problem "$what succeeded on a full disk"
  fi
  said=$(cat "$work/err.txt")
  grep -qi "the disk is full" <<<"$said" || problem "$what did not say the disk is full: $said"
  grep -q "WriteFailed\|DiskFull\|open or locked" <<<"$said" && problem "$what named the full disk otherwise: $said"
  rm -f filler
  out=$("$cli" recover 2>&1) || problem "recover after the $what failed: $out"
  checkwhole
  [ "$("$cli" list albums --prefix Kept | wc -l)" -eq 200 ] ||
    problem "an album acknowledged before the $what is lost"
}

round=import
# Room for the first batch of 1,000 albums, not for the second.
room=300
trystep import "$cli" import ../big.csv
said=$(sed -n 's/.*recover keeps \([0-9]*\) albums.*/\1/p' "$work/err.txt")
kept=$("$cli" list albums --prefix Imported | wc -l)
[ "$said" = "$kept" ] || problem "the failed import said recover keeps $said albums; $kept are kept"
checkwholealbums

round=scan
room=16
trystep scan "$cli" scan ../music
# What the failed scan said it added is what recovery kept.
said=$(sed -n 's/^albums: \([0-9]*\) added.*/\1/p' "$work/out.txt")
kept=$("$cli" list albums --prefix Scanned | wc -l)
[ "$said" = "$kept" ] || problem "the failed scan said $said albums added; $kept are kept"
"$cli" scan ../music >/dev/null 2>&1 || problem "the second scan failed"
[ "$("$cli" list albums --prefix Scanned | wc -l)" -eq 30 ] ||
  problem "the second scan did not complete the albums"

cd "$work" || exit 1
[ "$bad" -eq 0 ] && echo "the import and the scan on a full disk: nothing lost"
exit "$bad"
