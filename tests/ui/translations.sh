#!/usr/bin/env bash
# The translations are complete for the sources as they are: lupdate reads
# the sources into copies of translations/*.ts (a text added to the
# sources and not translated comes in unfinished), and tscheck names every
# text untranslated, out of date or with placeholders that do not match.
# Usage: translations.sh SOURCE_ROOT LUPDATE TSCHECK
set -euo pipefail
root=$1 lupdate=$2 tscheck=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
LUPDATE=$lupdate bash "$root/scripts/translations.sh" --into "$work"
# The files in the tree keep no text the sources have dropped either.
"$tscheck" "$root"/translations/tracklore_*.ts
"$tscheck" "$work"/tracklore_*.ts
