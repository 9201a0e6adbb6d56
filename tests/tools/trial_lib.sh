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
problem() {
  echo "${round:+round $round: }$*" >&2
  bad=1
}

# Verify and the integrity check of every table.
checkwhole() {
  "$cli" verify 2>/dev/null | grep -q "no problems found" || problem "verify found problems"
  for t in maindb attr001 attr002 rel001 rel002 fullname scanfile; do
    "$quill" check "$t" >/dev/null 2>&1 || problem "quill check $t failed"
  done
}
