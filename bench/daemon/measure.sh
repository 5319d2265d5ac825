#!/bin/sh
# The CPU cost of a minute of the background programs, each with the real "show" it starts,
# next to Qt programs whose 500 ms timer does nothing (plain and with a widget application
# object), and their resident memory.
#   bench/daemon/measure.sh BUILD_DIR [SECONDS]     (default 600 seconds)
# BUILD_DIR is a build configured with -DQUILLORA_BENCH=ON and built. tarnwick and morvessa run
# together from a scratch copy of the program directory, on the idle screen: tarnwick redraws
# every minute, morvessa steps to the next wallpaper and redraws every minute. A program's CPU
# time is its own (user + system) and that of the programs it started and waited for ("show"
# through the shell), read from /proc/PID/stat.
set -eu
build=$(cd "$1" && pwd)
seconds=${2:-600}
for f in "$build/Quillora/tarnwick" "$build/Quillora/morvessa" "$build/Quillora/show" "$build/bench/idle_timer"; do
    [ -x "$f" ] || { echo "measure.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done
work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

cp -R "$build/Quillora/." "$work/"
rm -rf "$work/device/run" "$work/device/idle/desktop.png"
theme=$(sed -n 's/^CurrentTheme = //p' "$build/Quillora/settings.ini" | head -n 1)
themes=$(sed -n 's/^ThemeList = //p' "$build/Quillora/settings.ini" | head -n 1)
printf '[Quillora]\nRefresh = 1\nChangeTime = 60\nChangeMode = 0\nThemeList = %s\nCurrentTheme = %s\n' \
    "$themes" "$theme" > "$work/settings.ini"
mkdir -p "$work/device/idle"
printf '1\n' > "$work/device/idle/focus"

export QT_QPA_PLATFORM=offscreen
"$work/tarnwick" >/dev/null 2>&1 & daemon=$!; pids="$pids $daemon"
"$work/morvessa" >/dev/null 2>&1 & rotator=$!; pids="$pids $rotator"
"$build/bench/idle_timer" >/dev/null 2>&1 & plain=$!; pids="$pids $plain"
"$build/bench/idle_timer" gui >/dev/null 2>&1 & gui=$!; pids="$pids $gui"

# Fields 14 to 17 of /proc/PID/stat: user and system time of the process, then of its waited-for
# children, in clock ticks.
own() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
children() { awk '{ print $16 + $17 }' "/proc/$1/stat"; }

# Start-up is not counted: the span begins once all four run.
sleep 5
for p in $daemon $rotator $plain $gui; do
    [ -d "/proc/$p" ] || { echo "measure.sh: a program ended at start (pid $p)" >&2; exit 1; }
done
d0=$(own "$daemon"); dc0=$(children "$daemon"); r0=$(own "$rotator"); rc0=$(children "$rotator")
p0=$(own "$plain"); g0=$(own "$gui")
sleep "$seconds"

hz=$(getconf CLK_TCK)
# name pid own0 children0: CPU milliseconds per minute, own and with children, and memory.
report() {
    awk -v o0="$3" -v o1="$(own "$2")" -v c0="$4" -v c1="$(children "$2")" -v t="$hz" -v s="$seconds" \
        -v name="$1" -v rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$2/status")" \
        'BEGIN { own = (o1 - o0) / t * 60000 / s; kids = (c1 - c0) / t * 60000 / s
                 printf "%-30s %9.1f %12.1f %9.1f %9s\n", name, own, kids, own + kids, rss }'
}
echo "CPU time per minute over $seconds s on the idle screen (ms), and resident memory at the end:"
printf '%-30s %9s %12s %9s %9s\n' program own "show runs" total "rss kB"
report "tarnwick" "$daemon" "$d0" "$dc0"
report "morvessa" "$rotator" "$r0" "$rc0"
report "idle_timer (QCoreApplication)" "$plain" "$p0" 0
report "idle_timer gui (QApplication)" "$gui" "$g0" 0
[ -f "$work/device/idle/desktop.png" ] || { echo "measure.sh: show never drew the desktop" >&2; exit 1; }
