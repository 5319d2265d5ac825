#!/bin/bash
# When does the daemon's new minute reach the phone? tarnwick runs from a scratch copy of the
# program directory, on the idle screen, and minute_watch notes the moment each new
# device/idle/desktop.png lands, against the start of its minute.
#   bench/daemon/minute_on_time.sh BUILD_DIR [MINUTES (5)] [LIMIT_MS (50)]
# BUILD_DIR was configured with -DQUILLORA_BENCH=ON and built. Fails when a minute's picture
# came LIMIT_MS or more after the minute began, came before it, or did not come.
set -euo pipefail
build=$(cd "$1" && pwd)
minutes=${2:-5}
limit=${3:-50}
for f in "$build/Quillora/tarnwick" "$build/Quillora/show" "$build/bench/minute_watch"; do
    [ -x "$f" ] || { echo "minute_on_time.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done
work=$(mktemp -d)
daemon=""
cleanup() {
    # The daemon held still, the show it may be waiting for ended, then the daemon itself:
    # nothing writes into the folder while it is removed.
    if [ -n "$daemon" ]; then
        kill -STOP "$daemon" 2>/dev/null || true
        pkill -KILL -P "$daemon" 2>/dev/null || true
        kill -KILL "$daemon" 2>/dev/null || true
        wait "$daemon" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
cp -R "$build/Quillora/." "$work/"
rm -rf "$work/device/run" "$work/device/idle/desktop.png"
theme=$(sed -n 's/^CurrentTheme = //p' "$build/Quillora/settings.ini" | head -n 1)
printf '[Quillora]\nRefresh = 1\nWeatherShow = true\nCurrentTheme = %s\n' "$theme" >"$work/settings.ini"
mkdir -p "$work/device/idle"
printf '1\n' >"$work/device/idle/focus"
export QT_QPA_PLATFORM=offscreen
"$work/tarnwick" >/dev/null 2>&1 &
daemon=$!
echo "watching $minutes minutes (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
"$build/bench/minute_watch" "$work/device/idle" "$minutes" "$limit"
