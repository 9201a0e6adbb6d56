#!/usr/bin/env bash
# Drives the real tracklore program under Xvfb with keystrokes through a short
# session (create, add, browse, cross-reference, scan) and saves a screenshot
# of each window (docs/*.png are chosen from them). Exits 77 (skipped)
# without Xvfb, xdotool or import. Usage: session.sh TRACKLORE [OUTPUT_DIR]
set -u

# Keystrokes race the windows they are meant for on a loaded machine: a
# failed run is tried once more before it counts.
if [ -z "${SESSION_ATTEMPT:-}" ]; then
  SESSION_ATTEMPT=1 "$0" "$@"
  rc=$?
  [ "$rc" -eq 1 ] && echo "session: the first run failed; once more" && { SESSION_ATTEMPT=2 "$0" "$@"; rc=$?; }
  exit "$rc"
fi

# The keystrokes and window titles are the English program's, whatever the
# machine's language.
export LC_ALL=C.UTF-8
unset LANGUAGE

here=$(cd "$(dirname "$0")" && pwd)
program=$(readlink -f "${1:?usage: session.sh TRACKLORE [OUTPUT_DIR]}")
out=$(mkdir -p "${2:-session-shots}" && cd "${2:-session-shots}" && pwd)

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "session: $tool is not installed; skipped"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "session: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$out/failure.png" 2>/dev/null
  exit 1
}

# For ten seconds at most.
polled() {
  for _ in $(seq 1 100); do "$@" && return 0; sleep 0.1; done
  return 1
}

display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "session: no free X display; skipped"; exit 77; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
polled xdotool getmouselocation >/dev/null 2>&1 || { echo "session: Xvfb did not start; skipped"; exit 77; }

# The id of the visible window whose title matches.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 | grep .; }
hidden() { ! visible "$1" >/dev/null; }
window() { polled visible "$1"; }
# Gives a window the keyboard and lets it settle; its id is left in $win.
win=""
expect() {
  win=$(window "$1") || fail "no window \"$1\""
  xdotool windowfocus --sync "$win" 2>/dev/null
  sleep 0.3
}
gone() { polled hidden "$1" || fail "window \"$1\" stayed"; }
# The window $1 closes and $2 takes the keyboard.
back() { gone "$1" && expect "$2"; }
press() { xdotool key --delay 80 "$@"; sleep 0.4; }
typed() { xdotool type --delay 40 "$1"; sleep 0.5; }
shot() { import -window "$1" "$out/$2.png" || fail "no screenshot $2"; echo "session: $out/$2.png"; }

# Creates an item in a browse or pick window: type its name, Enter (it is a
# new item), OK to "Confirm insert".
create() {
  typed "$1"
  press Return
  expect "^Confirm insert$"
  press Return
  if [ -n "${2:-}" ]; then back "^Confirm insert$" "$2"; else gone "^Confirm insert$"; fi
}

cd "$work" || exit 1
# Enough files for the scan's progress window to stay a moment, and albums
# enough for a list longer than its window.
"$here/musicfolder.sh" "$work/music" "${SESSION_ARTISTS:-40}" 3 || fail "no music folder"
# Settings of its own: no folder remembered from elsewhere, none left behind.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_MUSIC_DIR="$work/music"
"$program" >"$work/tracklore.log" 2>&1 &
app_pid=$!

# No database here yet: the automatic open says so and offers one.
expect "^No database$"
shot "$win" 00-no-database
press Escape
expect "^Tracklore$"
main=$win
shot "$main" 01-main-closed

# Database > Create new..., keeping the folder proposed: this directory.
press alt+d
press n
expect "^Choose the folder for the new database$"
press Return
gone "^Choose the folder"
# The tables are made after the chooser closes: wait for the last of them.
polled test -f "$work/rel002.idx" && [ -f "$work/maindb.db1" ] || fail "no database created"
expect "^Tracklore$"
shot "$main" 02-main-open

# Browse (the default button), create some albums.
press Return
expect "^Albums available in database"
for album in "Let It Be" "Revolver" "Rubber Soul" "Help!" "Abbey Road"; do
  create "$album" "^Albums available in database"
done

# Open Abbey Road; put an artist and songs into it.
press Return
expect "^Abbey Road"
press alt+less                    # Show below: Artists
typed "T"                         # a letter opens the picker, already searching
expect "^Pickup artist$"
create "he Beatles"               # Enter appends after creating: the picker ends
back "^Pickup artist$" "^Abbey Road"
article=$win
press alt+less                    # back to Songs
for song in "Come Together" "Something" "Oh! Darling" "Here Comes The Sun"; do
  press Insert
  expect "^Pickup song$"
  create "$song"
  back "^Pickup song$" "^Abbey Road"
done
press Up
shot "$article" 03-article
press Escape
back "^Abbey Road" "^Albums available in database"
browse=$win
press Down
shot "$browse" 04-browse

# To the artists and their cross-reference.
press alt+less alt+less           # Albums -> Songs -> Artists
expect "^Artists available in database"
press Return
expect "^Albums containing artist"
found=$win
shot "$found" 05-found
press Return                      # View the album ...
expect "^Abbey Road"
press Return                      # ... and X-Ref its selected song
back "^Abbey Road" "^Albums containing song"
press Escape
# The browse window stayed open under its found lists.
back "^Albums containing" "^Artists available in database"
press Escape
gone "^Artists available in database"

# Database > Scan music folder..., typing the folder's path.
expect "^Tracklore$"
press alt+d
press s
expect "^Scan music folder$"
press ctrl+a
typed "$work/music"
press Return
# The progress window may come and go between two looks on a fast machine.
progress=$(window "^Scanning music folder$") && shot "$progress" 06-scan-progress
back "^Scanning music folder$" "^Scan music folder$"
shot "$win" 07-scan-summary
press Return
gone "^Scan music folder$"

# The catalogue the scan made, in a browse window made larger: the list
# shows more rows.
expect "^Tracklore$"
press Return
expect "available in database"
for _ in 1 2 3; do
  visible "^Albums available in database" >/dev/null && break
  press alt+less
done
expect "^Albums available in database"
xdotool windowsize --sync "$win" 560 520 2>/dev/null
sleep 0.5
typed "n"
press Down Down
shot "$win" 08-browse-scanned
press Escape
gone "^Albums available in database"

# Exit, answering the question; the program ends cleanly.
quit() {
  expect "^Tracklore"
  press Escape
  expect "^Confirm exit$"
  press Return
  polled eval '! kill -0 "$app_pid" 2>/dev/null' || fail "the program did not end"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
quit

# Again under a dark style sheet: the browse window with a name typed that
# matches nothing, its text readable on the dark field.
"$program" -stylesheet "$here/dark.qss" "$work" >>"$work/tracklore.log" 2>&1 &
app_pid=$!
expect "^Tracklore"
main=$win
shot "$main" 09-main-dark
press Return
expect "available in database"
typed "nx"
shot "$win" 10-browse-dark
press Escape
gone "available in database"
quit
echo "session: done"
