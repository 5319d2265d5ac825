#!/bin/sh
# Measures the theme daemon's CPU time and resident memory over a span of idle ticking, next to
# a Qt program whose 500 ms timer does nothing (plain and with a widget application object).
#   bench/daemon/measure.sh BUILD_DIR [SECONDS]     (default 600 seconds)
# BUILD_DIR is a build configured with -DQUILLORA_BENCH=ON and built (targets tarnwick and
# idle_timer). The daemon runs from a scratch program directory with a "show" that does
# nothing, so only its own ticking and its one start of "show" a minute are counted; CPU time
# is the process's own (user + system), not that of the programs it starts.
set -eu
build=$(cd "$1" && pwd)
seconds=${2:-600}
work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

cp "$build/Quillora/tarnwick" "$work/"
printf '[Quillora]\nRefresh = 1\nThemeList = a.theme\nCurrentTheme = a.theme\n' > "$work/settings.ini"
printf '#!/bin/sh\n' > "$work/show"
chmod +x "$work/show"

QT_QPA_PLATFORM=offscreen "$work/tarnwick" & daemon=$!; pids="$pids $daemon"
"$build/bench/idle_timer" & plain=$!; pids="$pids $plain"
"$build/bench/idle_timer" gui & gui=$!; pids="$pids $gui"

sleep "$seconds"

tick=$(getconf CLK_TCK)
report() {
    # Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
    cpu=$(awk -v t="$tick" '{ printf "%.3f", ($14 + $15) / t }' "/proc/$2/stat")
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$2/status")
    printf '%-28s cpu %8s s   rss %7s kB\n' "$1" "$cpu" "$rss"
}
echo "after $seconds s of idle ticking:"
report "tarnwick" "$daemon"
report "idle_timer (QCoreApplication)" "$plain"
report "idle_timer gui (QApplication)" "$gui"
