#!/usr/bin/env bash
# Installs what is missing, builds the suite, assembles the program directory with the shipped
# data, and draws today's desktop into its device/idle/desktop.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
progdir="$(pwd)/build/Quillora"
"$progdir/show"
