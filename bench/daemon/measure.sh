#!/bin/bash
# The CPU cost of a minute of the background programs, each with the real "show" it starts,
# against the same programs of an earlier commit (by default dd514c2) and next to Qt programs
# whose 500 ms timer does nothing (plain and with a widget application object), and their
# resident memory.
#   bench/daemon/measure.sh BUILD_DIR [SECONDS (600)] [COMMIT (dd514c2)]
# BUILD_DIR is a build configured with -DQUILLORA_BENCH=ON and built; the earlier programs are
# built by bench/build_base.sh into BUILD_DIR/base-COMMIT (kept for the next run). Each of the
# four programs runs from a scratch copy of the program directory of its own, on the idle
# screen, all in the same span so that the machine's load falls on them alike: tarnwick redraws
# every minute over a wallpaper that stays, morvessa steps to the next wallpaper and redraws
# every minute (with no tarnwick beside it, its changes fall on nobody else's figure).
# A program's CPU time is its own (user + system) and that of the programs it started and waited
# for ("show"), read from /proc/PID/stat. Fails when today's tarnwick or morvessa does not cost
# less than the earlier one.
set -eu
build=$(cd "$1" && pwd)
seconds=${2:-600}
commit=${3:-dd514c2}
for f in "$build/Quillora/tarnwick" "$build/Quillora/morvessa" "$build/Quillora/show" "$build/bench/idle_timer"; do
    [ -x "$f" ] || { echo "measure.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done
base=$build/base-$commit
echo "building the programs of $commit in $base ..." >&2
"$(dirname "$0")/../build_base.sh" "$commit" "$base" tarnwick morvessa show
work=$(mktemp -d)
pids=""
cleanup() {
    # Each program held still, the show it may be waiting for ended, then the program itself:
    # nothing writes into the folder while it is removed.
    for p in $pids; do
        kill -STOP "$p" 2>/dev/null || true
        pkill -KILL -P "$p" 2>/dev/null || true
        kill -KILL "$p" 2>/dev/null || true
    done
    for p in $pids; do wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

theme=$(sed -n 's/^CurrentTheme = //p' "$build/Quillora/settings.ini" | head -n 1)
themes=$(sed -n 's/^ThemeList = //p' "$build/Quillora/settings.ini" | head -n 1)
for side in old new; do
    for program in tarnwick morvessa; do
        dir=$work/$side-$program
        mkdir "$dir"
        cp -R "$build/Quillora/." "$dir/"
        rm -rf "$dir/device/run" "$dir/device/idle/desktop.png"
        printf '[Quillora]\nRefresh = 1\nChangeTime = 60\nChangeMode = 0\nThemeList = %s\nCurrentTheme = %s\n' \
            "$themes" "$theme" > "$dir/settings.ini"
        mkdir -p "$dir/device/idle"
        printf '1\n' > "$dir/device/idle/focus"
        if [ "$side" = old ]; then
            for file in tarnwick morvessa show; do
                cp "$base/build/Quillora/$file" "$dir/$file"
            done
        fi
    done
done

export QT_QPA_PLATFORM=offscreen
"$work/old-tarnwick/tarnwick" >/dev/null 2>&1 & oldDaemon=$!; pids="$pids $oldDaemon"
"$work/old-morvessa/morvessa" >/dev/null 2>&1 & oldRotator=$!; pids="$pids $oldRotator"
"$work/new-tarnwick/tarnwick" >/dev/null 2>&1 & daemon=$!; pids="$pids $daemon"
"$work/new-morvessa/morvessa" >/dev/null 2>&1 & rotator=$!; pids="$pids $rotator"
"$build/bench/idle_timer" >/dev/null 2>&1 & plain=$!; pids="$pids $plain"
"$build/bench/idle_timer" gui >/dev/null 2>&1 & gui=$!; pids="$pids $gui"

# CPU milliseconds: a process's own, summed over its threads (the programs keep their bus
# threads for good), from /proc/PID/task/*/schedstat (nanoseconds, exact for the many short
# wake-ups of a ticking program) where the kernel keeps it, else from fields 14 and 15 of
# /proc/PID/stat; its waited-for children's from fields 16 and 17 (clock ticks).
hz=$(getconf CLK_TCK)
own() {
    if [ -r "/proc/$1/schedstat" ]; then
        cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%.3f\n", sum / 1e6 }'
    else
        awk -v t="$hz" '{ printf "%.3f\n", ($14 + $15) * 1000 / t }' "/proc/$1/stat"
    fi
}
children() { awk -v t="$hz" '{ printf "%.3f\n", ($16 + $17) * 1000 / t }' "/proc/$1/stat"; }

# Start-up is not counted: the span begins once all of them run, and once today's daemon has
# drawn the minutes it draws in full at its start and left the minute sheet of the coming hour
# (docs/desktop-picture.md), which it renews once an hour (about 30 ms of CPU each time, not
# counted here).
sleep 5
for ((i = 0; i < 200; i++)); do
    [ -f "$work/new-tarnwick/device/idle/cache/minutes.sheet" ] && break
    sleep 1
done
sleep 5
for p in $oldDaemon $oldRotator $daemon $rotator $plain $gui; do
    [ -d "/proc/$p" ] || { echo "measure.sh: a program ended at start (pid $p)" >&2; exit 1; }
done
od0=$(own "$oldDaemon"); odc0=$(children "$oldDaemon"); or0=$(own "$oldRotator"); orc0=$(children "$oldRotator")
d0=$(own "$daemon"); dc0=$(children "$daemon"); r0=$(own "$rotator"); rc0=$(children "$rotator")
p0=$(own "$plain"); g0=$(own "$gui")
sleep "$seconds"

# name pid own0 children0: CPU milliseconds per minute, own and with children, and memory.
report() {
    awk -v o0="$3" -v o1="$(own "$2")" -v c0="$4" -v c1="$(children "$2")" -v s="$seconds" \
        -v name="$1" -v rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$2/status")" \
        'BEGIN { own = (o1 - o0) * 60 / s; kids = (c1 - c0) * 60 / s
                 printf "%-30s %9.1f %12.1f %9.1f %9s\n", name, own, kids, own + kids, rss }' | tee -a "$work/figures"
}
echo "CPU time per minute over $seconds s on the idle screen (ms), and resident memory at the end:"
printf '%-30s %9s %12s %9s %9s\n' program own "show runs" total "rss kB"
report "tarnwick $commit" "$oldDaemon" "$od0" "$odc0"
report "tarnwick" "$daemon" "$d0" "$dc0"
report "morvessa $commit" "$oldRotator" "$or0" "$orc0"
report "morvessa" "$rotator" "$r0" "$rc0"
report "idle_timer (QCoreApplication)" "$plain" "$p0" 0
report "idle_timer gui (QApplication)" "$gui" "$g0" 0
for dir in old-tarnwick old-morvessa new-tarnwick new-morvessa; do
    [ -f "$work/$dir/device/idle/desktop.png" ] || { echo "measure.sh: show never drew the desktop ($dir)" >&2; exit 1; }
done
status=0
for program in tarnwick morvessa; do
    before=$(awk -v n="$program" -v c="$commit" '$1 == n && $2 == c { print $5 }' "$work/figures")
    now=$(awk -v n="$program" 'NF == 5 && $1 == n { print $4 }' "$work/figures")
    if awk -v a="$now" -v b="$before" 'BEGIN { exit !(a < b) }'; then
        echo "$program: $now ms per minute, below the $before ms of $commit"
    else
        echo "measure.sh: $program costs $now ms per minute, not below the $before ms of $commit" >&2
        status=1
    fi
done
exit $status
