#!/bin/bash
# Holds show against the show of an earlier commit (by default dd514c2, the show before the
# lean start): the same pictures, pixel for pixel, on every shipped theme, for far less CPU.
#   bench/renderer/show_against_base.sh [BUILD_DIR (build)] [RUNS (100)] [COMMIT (dd514c2)]
# BUILD_DIR was configured with -DQUILLORA_BENCH=ON and built. The earlier show is built by
# bench/build_base.sh into BUILD_DIR/base-COMMIT (kept for the next run).
# Both programs draw from copies of the same program directory. Each is first run once per
# theme under one fixed clock (libfaketime) and the pictures compared, today's show twice more
# as well: from the still part its first run kept (the drawing then leaves the minute sheet),
# and from the minute sheet (its lean front). Then, with the current theme, they run in turn
# RUNS times each, a new process every time (the cold start the daemon pays every minute, with
# the file and font caches warm), and the CPU time (user + system) of every run is taken. Runs
# in turn make a change of the machine's load fall on both alike; the figure is the ratio of the
# sums, with the median of the pairs' ratios beside it. Three rounds: today's show as the
# daemon meets it from minute to minute (the front writes the minute from the sheet); its
# drawing from the kept still part, which also makes the sheet of the coming hour (once an
# hour); and its drawing of the still part anew every run (a new day, a changed file).
# Fails when a picture differs, the ratio of the first round is above MAX_RATIO (0.8), that of
# the second above MAX_SHEET_RATIO (1.6: once an hour, it pays for the hour's other minutes) or
# that of the third above MAX_FRESH_RATIO (1.0).
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-100}
commit=${3:-dd514c2}
max=${MAX_RATIO:-0.8}
fresh_max=${MAX_FRESH_RATIO:-1.0}
sheet_max=${MAX_SHEET_RATIO:-1.6}
here=$(cd "$(dirname "$0")" && pwd)
for f in "$build/Quillora/show" "$build/bench/same_picture"; do
    [ -x "$f" ] || { echo "show_against_base.sh: $f is missing; build with -DQUILLORA_BENCH=ON" >&2; exit 1; }
done
command -v faketime >/dev/null || { echo "show_against_base.sh: faketime is missing (scripts/deps.sh installs it)" >&2; exit 1; }
base=$build/base-$commit
echo "building the show of $commit in $base ..." >&2
"$here/../build_base.sh" "$commit" "$base" show

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in old new; do
    mkdir "$work/$side"
    cp -R "$build/Quillora"/. "$work/$side"/
done
cp "$base/build/Quillora/show" "$work/old/show"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
export NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1

settheme() { sed -i "s/^CurrentTheme = .*/CurrentTheme = $2/" "$work/$1/settings.ini"; }
themes=$(sed -n 's/^ThemeList = //p' "$work/new/settings.ini" | head -n 1 | tr ';' ' ')
for theme in $themes; do
    for side in old new; do
        settheme "$side" "$theme"
        faketime "2026-12-08 09:05:00" "$work/$side/show" >/dev/null
    done
    # The second run of today's show draws from its caches of the first, the third is written
    # from the minute sheet the second left: the same picture too.
    for pass in decoded cached sheet; do
        [ "$pass" = decoded ] || faketime "2026-12-08 09:05:00" "$work/new/show" >/dev/null
        if ! "$build/bench/same_picture" "$work/old/device/idle/desktop.png" "$work/new/device/idle/desktop.png"; then
            echo "show_against_base.sh: $theme is drawn differently ($pass pictures)" >&2
            exit 1
        fi
    done
    echo "$theme: the same picture ($(stat -c %s "$work/old/device/idle/desktop.png") bytes before, $(stat -c %s "$work/new/device/idle/desktop.png") now)"
done

cpu() { # CPU milliseconds of one run of the show of side $1
    local TIMEFORMAT='%3U %3S' figures
    [ "${drawn:-sheet}" = sheet ] || rm -f "$work/$1/device/idle/cache/minutes.sheet"
    [ "${drawn:-sheet}" = anew ] && rm -f "$work/$1/device/idle/cache/still.raw"
    figures=$( { time "$work/$1/show" >/dev/null; } 2>&1 )
    awk '{ printf "%.0f", ($1 + $2) * 1000 }' <<<"$figures"
}
# Runs both shows in turn RUNS times each and prints the figures; fails above the limit $2.
round() {
    local title=$1 limit=$2 i
    local -a old=() new=()
    for ((i = 0; i < runs; i++)); do
        if ((i % 2)); then new+=("$(cpu new)"); old+=("$(cpu old)"); else old+=("$(cpu old)"); new+=("$(cpu new)"); fi
    done
    printf '%s\n' "${old[@]}" >"$work/old.txt"
    printf '%s\n' "${new[@]}" >"$work/new.txt"
    paste "$work/old.txt" "$work/new.txt" | awk -v runs="$runs" -v max="$limit" -v title="$title" -v load="$(cut -d' ' -f1-3 /proc/loadavg)" '
        { o += $1; n += $2; if ($1 > 0) r[++k] = $2 / $1; a[NR] = $1; b[NR] = $2 }
        function median(v, m,   i, j, t) { for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
                                           return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2 }
        END {
            ratio = o > 0 ? n / o : 1
            printf "show CPU (user + system), %s, %d runs each in turn, load average %s\n", title, runs, load
            printf "  before: mean %.1f ms, median %.1f ms\n", o / runs, median(a, runs)
            printf "  now:    mean %.1f ms, median %.1f ms\n", n / runs, median(b, runs)
            printf "  ratio now / before: %.3f (median of the pairs %.3f), at most %s\n", ratio, median(r, k), max
            exit ratio > max
        }' || { echo "show_against_base.sh: show ($title) costs more than $limit of the earlier one" >&2; return 1; }
}
status=0
drawn=sheet round "from minute to minute" "$max" || status=1
drawn=kept round "drawn from the still part kept, with the next hour's sheet" "$sheet_max" || status=1
drawn=anew round "the still part drawn anew" "$fresh_max" || status=1
exit $status
