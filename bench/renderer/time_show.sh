#!/bin/bash
# Times `show` as a whole process: start, one composition of a theme with every item, PNG
# written atomically, end. Yardsticks, run in turn with it on a copy of the program directory:
#   handwritten   the same picture drawn with bare QPainter calls, written the same way
#   naive         the same, with the PNG encoder's default compression
#   minimal       a Qt program that starts offscreen and writes a plain 240 x 320 PNG
# Usage: bench/renderer/time_show.sh [build directory, default "build"] [runs, default 30]
# The build must have been configured with -DQUILLORA_BENCH=ON and built.
set -euo pipefail

build=${1:-build}
runs=${2:-30}
progdir=$build/Quillora
benchdir=$build/bench
for f in "$progdir/show" "$benchdir/bench_handwritten_show" "$benchdir/bench_minimal_png"; do
    [ -x "$f" ] || { echo "time_show.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$progdir"/. "$work"/
cp "$benchdir/bench_handwritten_show" "$benchdir/bench_minimal_png" "$work"/
"$work/bench_handwritten_show" --prepare 2>/dev/null
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY

names=(show handwritten naive minimal)
commands=("$work/show"
          "$work/bench_handwritten_show"
          "$work/bench_handwritten_show --default-compression"
          "$work/bench_minimal_png $work/minimal.png")

# One warm-up run each, then the programs in turn, so a change of machine load hits all alike.
for c in "${commands[@]}"; do $c >/dev/null 2>&1; done
declare -A times
for ((i = 0; i < runs; i++)); do
    for k in "${!commands[@]}"; do
        t0=$(date +%s%N)
        ${commands[$k]} >/dev/null 2>&1 || { echo "time_show.sh: ${names[$k]} failed" >&2; exit 1; }
        t1=$(date +%s%N)
        times[${names[$k]}]+="$(( (t1 - t0) / 1000 )) "
    done
done

stat() { # prints "median min" in milliseconds of the microsecond figures given
    tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{a[NR]=$1} END {printf "%.1f %.1f", a[int((NR+1)/2)]/1000, a[1]/1000}'
}

echo "runs: $runs each, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-12s %10s %10s\n' program "median ms" "min ms"
declare -A median
for n in "${names[@]}"; do
    read -r med min <<<"$(stat "${times[$n]}")"
    median[$n]=$med
    printf '%-12s %10s %10s\n' "$n" "$med" "$min"
done
awk -v s="${median[show]}" -v h="${median[handwritten]}" -v m="${median[minimal]}" \
    'BEGIN {printf "show / handwritten: %.2f   show / minimal: %.2f\n", s / h, s / m}'
