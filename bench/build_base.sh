#!/bin/bash
# Builds programs of an earlier commit of this repository, for the benchmarks that hold the
# figures of today's programs against it.
#   bench/build_base.sh COMMIT FOLDER PROGRAM...
# The commit's files are exported into FOLDER/src (the working tree is left alone) and built in
# FOLDER/build; the programs are then in FOLDER/build/Quillora/. A folder that already holds a
# build of the same commit is used as it is.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 COMMIT FOLDER PROGRAM..." >&2; exit 2; }
commit=$1
folder=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
id=$(git -C "$root" rev-parse --verify "$commit^{commit}")
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
if [ "$(cat "$folder/commit" 2>/dev/null)" != "$id" ]; then
    rm -rf "$folder/src" "$folder/build"
    mkdir -p "$folder/src"
    git -C "$root" archive "$id" | tar -x -C "$folder/src"
    echo "$id" >"$folder/commit"
fi
options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if command -v ccache >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$folder/src" CCACHE_NOHASHDIR=1
fi
cmake -S "$folder/src" -B "$folder/build" "${options[@]}" >/dev/null
cmake --build "$folder/build" --target "$@" >/dev/null
