#!/usr/bin/env bash
# Guards the machine's font cache against the test run.
#   check_fontcache.sh record FILE    writes the modification times of the cache's files to FILE
#   check_fontcache.sh compare FILE   fails, listing the files, when they differ from FILE
#   check_fontcache.sh selftest       checks the two above on a folder of its own
# The cache folder is FONTCACHE_DIR, by default the system's /var/cache/fontconfig; where it
# does not exist there is nothing to guard.
set -euo pipefail

snapshot() {
    local dir=${FONTCACHE_DIR:-/var/cache/fontconfig}
    [ -d "$dir" ] || return 0
    find "$dir" -printf '%P %T@\n' | LC_ALL=C sort
}

case ${1:-} in
record)
    snapshot >"$2"
    ;;
compare)
    [ -f "$2" ] || { echo "no record $2: run the whole fixture (ctest runs fontcache_before first)" >&2; exit 1; }
    if ! changes=$(diff "$2" <(snapshot)); then
        echo "the test run changed the font cache ${FONTCACHE_DIR:-/var/cache/fontconfig}:" >&2
        echo "$changes" >&2
        exit 1
    fi
    ;;
selftest)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export FONTCACHE_DIR=$work/cache
    mkdir "$FONTCACHE_DIR"
    touch -d '2020-01-01 00:00' "$FONTCACHE_DIR/a-le64.cache-8"
    "$0" record "$work/record"
    "$0" compare "$work/record" 2>/dev/null || { echo "an untouched cache counts as changed" >&2; exit 1; }
    for change in "touch -d '2021-01-01 00:00' $FONTCACHE_DIR/a-le64.cache-8" \
                  "touch $FONTCACHE_DIR/b-le64.cache-8" \
                  "rm -f $FONTCACHE_DIR/a-le64.cache-8 $FONTCACHE_DIR/b-le64.cache-8"; do
        eval "$change"
        if "$0" compare "$work/record" 2>/dev/null; then
            echo "a change of the cache passed unseen: $change" >&2
            exit 1
        fi
    done
    ;;
*)
    echo "usage: $0 record FILE | compare FILE | selftest" >&2
    exit 2
    ;;
esac
