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

# Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Start-up is not counted: the span begins once all three run.
sleep 5
d0=$(ticks "$daemon"); p0=$(ticks "$plain"); g0=$(ticks "$gui")
sleep "$seconds"

hz=$(getconf CLK_TCK)
report() {
    cpu=$(awk -v a="$3" -v b="$(ticks "$2")" -v t="$hz" 'BEGIN { printf "%.2f", (b - a) / t }')
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$2/status")
    printf '%-30s cpu %6s s   rss %7s kB\n' "$1" "$cpu" "$rss"
}
echo "CPU time over $seconds s of idle ticking, and resident memory at the end:"
report "tarnwick" "$daemon" "$d0"
report "idle_timer (QCoreApplication)" "$plain" "$p0"
report "idle_timer gui (QApplication)" "$gui" "$g0"
