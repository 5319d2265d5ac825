#!/usr/bin/env bash
# Checks that every folder of the suite includes headers only from its own layer or the layers
# below it, as the README's source table states. Prints each offending #include line and exits
# non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder:layer — a folder may include headers of folders with a lower layer number, and its own.
layers=(calendar:0 services:0 widgets:1 frame:2 renderer:3 notices:3 wallpapers:3 weather:3
        settings:4 daemon:4 rotator:4 devicetools:4)

# Folders kept off a lower layer as well: the desktop picture is drawn, and the forecast
# fetched, without any widget.
declare -A forbidden=([renderer]="widgets frame" [weather]="widgets frame")

declare -A layer_of owner_of
for entry in "${layers[@]}"; do layer_of[${entry%%:*}]=${entry##*:}; done
# Which folder owns each header name.
for dir in "${!layer_of[@]}"; do
    while IFS= read -r header; do
        owner_of[${header##*/}]=$dir
    done < <(find "$dir" -name '*.h')
done

status=0
for dir in "${!layer_of[@]}"; do
    while IFS=: read -r file line text; do
        # Parameter expansion, not a program per line: the check runs within every test run.
        name=${text#*\"}
        name=${name%%\"*}
        owner=${owner_of[${name##*/}]:-}
        [ -z "$owner" ] || [ "$owner" = "$dir" ] && continue
        if [ "${layer_of[$owner]}" -ge "${layer_of[$dir]}" ] \
           || [[ " ${forbidden[$dir]:-} " == *" $owner "* ]]; then
            echo "$file:$line: $dir (layer ${layer_of[$dir]}) includes $name of $owner (layer ${layer_of[$owner]})"
            status=1
        fi
    done < <(grep -rn --include='*.cpp' --include='*.h' '^#include "' "$dir" || true)
done
exit $status
