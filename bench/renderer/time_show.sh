#!/bin/bash
# Times `show` as a whole process: start, one composition of a theme with every item, PNG
# written atomically, end. Yardsticks, run in turn with it on a copy of the program directory:
#   handwritten   the same picture drawn with bare QPainter calls by a program that links Qt
#                 Core and Gui only, written the same way
#   naive         the same, with the PNG encoder's default compression
#   minimal       a Qt program that starts offscreen and writes a plain 240 x 320 PNG
# Every program runs under the same fixed clock (2026-12-08 09:05, libfaketime), so show draws
# the very texts the hand-written program draws; the benchmark fails when the two pictures differ
# in any pixel.
# Figures: "cold" is each program's first run, once the font cache is warm but the process is
# new; "warm" is the median (and minimum) of the runs after it, taken in turn; wall time, and
# the CPU time of the process, which a busy machine disturbs less.
# Usage: bench/renderer/time_show.sh [build directory, default "build"] [runs, default 30]
# The build must have been configured with -DQUILLORA_BENCH=ON and built.
set -euo pipefail

build=${1:-build}
runs=${2:-30}
progdir=$build/Quillora
benchdir=$build/bench
for f in "$progdir/show" "$benchdir/bench_handwritten_show" "$benchdir/bench_minimal_png" "$benchdir/same_picture"; do
    [ -x "$f" ] || { echo "time_show.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done
command -v faketime >/dev/null || { echo "time_show.sh: faketime is missing (scripts/deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$progdir"/. "$work"/
cp "$benchdir/bench_handwritten_show" "$benchdir/bench_minimal_png" "$work"/
"$work/bench_handwritten_show" --prepare 2>/dev/null
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
# The fixed clock; the font library sees the real dates of its cache (or it rewrites it).
export NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1
clock=(faketime "2026-12-08 09:05:00")

names=(show handwritten naive minimal)
commands=("$work/show"
          "$work/bench_handwritten_show"
          "$work/bench_handwritten_show --default-compression"
          "$work/bench_minimal_png $work/minimal.png")

# The font cache and the libraries both share are warmed once by a program none of the figures
# are about; then each program's first run is its cold figure.
command -v fc-list >/dev/null && fc-list >/dev/null 2>&1
"${clock[@]}" "$work/bench_minimal_png" "$work/warmup.png" >/dev/null 2>&1
declare -A times cpus cold coldcpu
elapsed() { # runs program $1 once, prints its wall time and CPU time (user + system) in ms
    local TIMEFORMAT='%3R %3U %3S' figures
    figures=$( { time "${clock[@]}" ${commands[$1]} >/dev/null 2>"$work/stderr"; } 2>&1 ) \
        || { echo "time_show.sh: ${names[$1]} failed: $(cat "$work/stderr")" >&2; return 1; }
    awk '{ printf "%.1f %.1f", $1 * 1000, ($2 + $3) * 1000 }' <<<"$figures"
}
for k in "${!commands[@]}"; do
    figures=$(elapsed "$k")
    read -r cold[${names[$k]}] coldcpu[${names[$k]}] <<<"$figures"
    # show and the hand-written program must have drawn the same picture.
    [ "${names[$k]}" = show ] && cp "$work/device/idle/desktop.png" "$work/show-picture.png"
    if [ "${names[$k]}" = handwritten ] && ! "$benchdir/same_picture" "$work/show-picture.png" "$work/device/idle/desktop.png"; then
        echo "time_show.sh: show and the hand-written program drew different pictures" >&2
        exit 1
    fi
done
# The programs in turn, so a change of machine load hits all alike.
for ((i = 0; i < runs; i++)); do
    for k in "${!commands[@]}"; do
        figures=$(elapsed "$k")
        read -r wall cpu <<<"$figures"
        times[${names[$k]}]+="$wall "
        cpus[${names[$k]}]+="$cpu "
    done
done

median() { # of the figures given
    tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]}'
}
minimum() {
    tr ' ' '\n' <<<"$1" | grep . | sort -n | head -n 1
}

echo "runs: $runs each, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "milliseconds; cpu = user + system time of the process"
printf '%-12s %9s %9s %9s %9s %9s\n' program "cold" "cold cpu" "warm med" "warm min" "warm cpu"
declare -A wall cpu
for n in "${names[@]}"; do
    wall[$n]=$(median "${times[$n]}")
    cpu[$n]=$(median "${cpus[$n]}")
    printf '%-12s %9s %9s %9s %9s %9s\n' "$n" "${cold[$n]}" "${coldcpu[$n]}" "${wall[$n]}" \
        "$(minimum "${times[$n]}")" "${cpu[$n]}"
done
awk -v s="${wall[show]}" -v h="${wall[handwritten]}" -v cs="${cold[show]}" -v ch="${cold[handwritten]}" \
    -v ps="${cpu[show]}" -v ph="${cpu[handwritten]}" -v m="${wall[minimal]}" \
    'BEGIN {printf "show / handwritten: warm %.2f (cpu %.2f), cold %.2f   show / minimal: warm %.2f\n",
            s / h, ps / ph, cs / ch, s / m}'
