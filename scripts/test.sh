#!/usr/bin/env bash
# Installs what is missing, builds the suite with its tests, and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORA_TESTS=ON)
# A compiler cache, where there is one, makes a build of a fresh clone cheap. Paths count from
# the clone's root, so clones in different folders share what was compiled.
if command -v ccache >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build-tests "${options[@]}" >/dev/null
cmake --build build-tests -j"$(nproc)"
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
