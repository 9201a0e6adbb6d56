#!/bin/bash
# Four programs edit one catalogue at once (each its own album, sharing
# artists and songs) while a pack is attempted; afterwards verify and every
# table's integrity check pass and every acknowledged edit is there.
#   shared_stress.sh TRACKLORE-CLI QUILL [SECONDS]   (5 by default; 60 by hand)
. "$(dirname "$0")/trial_lib.sh" shared-stress "$@"
seconds=${3:-5}

# Worker w links to its album until the time is up; shared artists and
# songs are made by whoever comes first. Acknowledged edits go to ack.w,
# refusals (another program held the database too long) to busy.w.
worker() {
  local w=$1 end=$2 i=0 out
  "$cli" add album "Worker $w" >/dev/null || echo "add" >>"busy.$w"
  while [ "$(date +%s)" -lt "$end" ]; do
    i=$((i + 1))
    if ((i % 4 == 0)); then
      out=$("$cli" link "Worker $w" artist "Shared Artist $((i % 5))" 2>&1)
    elif ((i % 4 == 1)); then
      out=$("$cli" link "Worker $w" song "Shared Song $((i % 7))" 2>&1)
    else
      out=$("$cli" link "Worker $w" song "W$w Song $i" 2>&1)
    fi
    if [ $? -eq 0 ]; then
      echo "$out" | sed -n 's/^linked \([a-z]*\) "\([^"]*\)" (#.*/\1 \2/p' >>"ack.$w"
    else
      echo "$out" >>"busy.$w"
    fi
  done
}

end=$(($(date +%s) + seconds))
for w in 1 2 3 4; do worker "$w" "$end" & done
sleep "$((seconds / 2))"
pack=$("$cli" --yes pack 2>&1)
packed=$?
wait

# A pack either ran whole (and reindexed) or was refused, saying why.
if [ $packed -ne 0 ]; then
  case "$pack" in
    *"Another program is using the database"*) ;;
    *) problem "the pack failed otherwise: $pack" ;;
  esac
fi
checkwhole
acked=0 refused=0
for w in 1 2 3 4; do
  shown=$("$cli" show "Worker $w")
  while read -r kind name; do
    acked=$((acked + 1))
    echo "$shown" | grep -qF "  $name (#" || problem "Worker $w lost $kind $name"
  done <"ack.$w"
  [ -f "busy.$w" ] && refused=$((refused + $(grep -c 'Another program is using' "busy.$w")))
  # Between a pack and its reindex an open finds the indexes out of date.
  other=$(grep -v -e 'Another program is using' -e 'cannot open the database' \
    -e 'waiting for it to finish' -e 'Try again when' -e 'Operation open failed' \
    -e 'Return value: IndexOutOfDate' "busy.$w" 2>/dev/null)
  [ -z "$other" ] || problem "Worker $w: $other"
done
echo "edits acknowledged: $acked; refused as busy: $refused; pack: $([ $packed -eq 0 ] && echo done || echo refused)"
exit $bad
