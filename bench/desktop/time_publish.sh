#!/bin/bash
# Times one publish on each real desktop beside show itself: show runs as a whole process with
# Target = phone (the phone's picture alone), command (a command that does nothing), x11 (its
# own X server, 1920 x 1080) and gnome (its own session bus and settings store); the cost of a
# publish is the difference to the phone's figure. Targets whose tools are missing are skipped
# with one line. A run that reports a problem fails the benchmark. Everything runs in temporary
# folders with a copy of the program directory.
# Figures: median wall time and median CPU time (user + system) of show, in ms.
# Usage: bench/desktop/time_publish.sh [build directory, default "build"] [runs, default 15]
set -euo pipefail

build=${1:-build}
runs=${2:-15}
[ -x "$build/Quillora/show" ] || { echo "time_publish.sh: $build/Quillora/show is missing" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
cp -R "$build/Quillora" "$work/progdir"
settings="$work/progdir/settings.ini"
cp "$settings" "$work/settings.ini"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY XDG_CURRENT_DESKTOP SWAYSOCK DBUS_SESSION_BUS_ADDRESS
export HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" XDG_CONFIG_HOME="$work/home/.config" NO_FAKE_STAT=1
mkdir -p "$HOME"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() { # $1 the target's name, $2 the lines of group "Desktop"
    { cat "$work/settings.ini"; printf '\n[Desktop]\n%b' "$2"; } > "$settings"
    "$work/progdir/show" >/dev/null 2>&1 || true # the first run fills the caches
    local walls=() cpus=() TIMEFORMAT='%3R %3U %3S' figures
    for ((i = 0; i < runs; i++)); do
        figures=$( { time "$work/progdir/show" >/dev/null 2>"$work/stderr"; } 2>&1 )
        [ -s "$work/stderr" ] && { echo "time_publish.sh: $1: $(head -n 1 "$work/stderr")" >&2; exit 1; }
        read -r wall user sys <<<"$figures"
        walls+=("$(awk -v w="$wall" 'BEGIN {print int(w * 1000)}')")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN {print int((u + s) * 1000)}')")
    done
    printf '%-8s wall %5s ms   cpu %5s ms\n' "$1" "$(printf '%s\n' "${walls[@]}" | median)" "$(printf '%s\n' "${cpus[@]}" | median)"
}

measure phone 'Target = phone\n'
measure command 'Target = command\nCommand = true %1\n'

if command -v Xvfb >/dev/null; then
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3>"$work/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$work/display" ] && break; read -r -t 0.1 <> <(:) || true; done
    DISPLAY=":$(cat "$work/display")" measure x11 'Target = x11\n'
else
    echo "x11      skipped: Xvfb is not installed"
fi

if command -v dbus-daemon >/dev/null && command -v gsettings >/dev/null \
   && [ -e /usr/share/dbus-1/services/ca.desrt.dconf.service ]; then
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/buspid")
    pids+=("$(cat "$work/buspid")")
    DBUS_SESSION_BUS_ADDRESS=$address GSETTINGS_BACKEND=dconf measure gnome 'Target = gnome\n'
else
    echo "gnome    skipped: dbus-daemon, gsettings or dconf-service is not installed"
fi
