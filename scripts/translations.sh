#!/usr/bin/env bash
# Refreshes the translations (translations/tracklore_*.ts) from the sources:
# new texts are added unfinished, texts gone from the sources are dropped.
# Translate what it adds (Qt Linguist, or the .ts files by hand); the test
# ui_translations fails while any text is left untranslated.
# Usage: scripts/translations.sh [--into DIR]
#   --into DIR  refresh copies in DIR and leave the tree's files alone
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Qt 6's lupdate (Debian keeps it out of PATH; a "lupdate" there may be Qt 5's).
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
[ -x "$lupdate" ] || lupdate=$(command -v lupdate6 || command -v lupdate || echo lupdate)

target="$root/translations"
if [ "${1:-}" = --into ]; then
  target=$2
  mkdir -p "$target"
  cp "$root"/translations/tracklore_*.ts "$target"/
fi

# lupdate (Qt 6.4) loses the classes that follow a class holding
# "enum : int { ... }" in a header, and with them the context of their
# tr(): it reads a copy of the sources with plain enums instead.
sources=$(mktemp -d)
trap 'rm -rf "$sources"' EXIT
for dir in ui app catalogue; do
  mkdir -p "$sources/$dir"
  for file in "$root/$dir"/*.cpp "$root/$dir"/*.h; do
    [ -e "$file" ] || continue
    sed 's/enum : [a-z0-9_]* {/enum {/' "$file" > "$sources/$dir/${file##*/}"
  done
done

# The catalogue marks its messages with DB_Tr(context, text), which takes
# the arguments of QCoreApplication::translate.
"$lupdate" -silent -locations none -no-obsolete -tr-function-alias translate+=DB_Tr \
  -I "$sources" -extensions cpp,h "$sources/ui" "$sources/app" "$sources/catalogue" \
  -ts "$target"/tracklore_*.ts
