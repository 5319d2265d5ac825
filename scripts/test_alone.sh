#!/usr/bin/env bash
# Runs every test function of every test program by itself (`tst_x function`), as a person
# does when a test fails, and fails when any of them fails on its own.
#   scripts/test_alone.sh [build directory, default "build-tests"]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-tests}
[ -d "$build/tests" ] || { echo "test_alone.sh: no test programs in $build/tests; build the suite first" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen

list=$(mktemp)
trap 'rm -f "$list"' EXIT
for program in "$build"/tests/tst_*; do
    [ -x "$program" ] || continue
    "$program" -functions 2>/dev/null | sed -n 's/()$//p' | while read -r function; do
        printf '%s %s\n' "$program" "$function"
    done
done >"$list"

# Two at a time; each run has its own temporary program directory. A function that runs for
# more than a minute and a half counts as hanging.
failures=$(xargs -P "$(nproc)" -L 1 sh -c '
    if ! timeout 90 "$0" "$1" >/dev/null 2>&1; then echo "${0##*/} $1"; fi' <"$list")
count=$(wc -l <"$list")
if [ -n "$failures" ]; then
    echo "test_alone.sh: of $count test functions, these fail when run alone:" >&2
    echo "$failures" >&2
    exit 1
fi
echo "test_alone.sh: all $count test functions pass alone"
