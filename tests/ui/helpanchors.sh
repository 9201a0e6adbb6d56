#!/usr/bin/env bash
# Every section the program opens the help page at (F1 in a window, Other >
# Help) is there: a missing id would open the page at its top, unnoticed.
# Usage: helpanchors.sh SOURCE_DIR
set -u
src=${1:?usage: helpanchors.sh SOURCE_DIR}
page="$src/app/index.htm"
anchors=$(grep -ohE '(addHelpKey\(this, |showHelp\()QStringLiteral\("[a-z]+"\)' "$src"/ui/*.cpp |
          sed -E 's/.*"([a-z]+)".*/\1/' | sort -u)
[ -n "$anchors" ] || { echo "helpanchors: no anchors found in ui/"; exit 1; }
status=0
for anchor in $anchors; do
  grep -q "id=\"$anchor\"" "$page" || { echo "helpanchors: no section \"$anchor\" in $page"; status=1; }
done
exit $status
