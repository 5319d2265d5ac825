#!/usr/bin/env bash
# Checks that the name of every shared file is spelled in code only by its owner in services/,
# the one place that holds its path rule, checks and format. Prints each string literal that
# names a shared file outside its owner and exits non-zero when there is one. Comments may
# mention the files; tests, benchmarks and tools lay out their own program directories.
set -euo pipefail
cd "$(dirname "$0")/.."

# a string literal holding the name (extended regular expression) : owner file
owners=('"[^"]*settings\.ini:services/settingsfile.cpp'
        '"[^"]*defaults\.ini:services/settingsfile.cpp'
        '"[^"]*notify\.db:services/notifydb.cpp'
        '"[^"]*wallpaper\.list:services/wallpaperlist.cpp'
        '"[^"]*tmp\.theme:services/themefile.cpp'
        '"([^"]*/)?theme/:services/themefile.cpp'
        '"[^"]*\.weather:services/weatherfile.cpp'
        '"[^"]*setup\.ini:services/setuptheme.cpp')
folders=(calendar services widgets frame renderer notices wallpapers weather settings daemon
         rotator devicetools)

status=0
for entry in "${owners[@]}"; do
    literal=${entry%%:*}
    owner=${entry##*:}
    # A literal holding the name, on a line that is not a comment.
    while IFS= read -r hit; do
        [ "${hit%%:*}" = "$owner" ] && continue
        echo "$hit: names a file owned by $owner"
        status=1
    done < <(grep -rnE --include='*.cpp' --include='*.h' "$literal" "${folders[@]}" \
                 | grep -vE '^[^:]*:[0-9]+:[[:space:]]*//' || true)
done
exit $status
