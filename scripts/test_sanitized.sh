#!/usr/bin/env bash
# Builds the suite in Debug with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test program CTest knows under them. Any report, from a test or from a program it started,
# fails the run; the reports are printed at the end.
#   scripts/test_sanitized.sh [build directory, default "build-sanitized"]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=${1:-build-sanitized}

# GCC's -fsanitize=undefined leaves out float-to-integer overflow; it is added where the compiler
# has it.
sanitizers=address,undefined
if echo 'int main() {}' | "${CXX:-c++}" -x c++ -fsanitize=float-cast-overflow -o /dev/null - 2>/dev/null; then
    sanitizers+=,float-cast-overflow
fi
options=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_TESTS=ON
         "-DCMAKE_CXX_FLAGS=-fsanitize=$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer"
         "-DCMAKE_CXX_FLAGS_DEBUG=-g1"
         "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=$sanitizers")
# A compiler cache, where there is one, makes a build of a fresh clone cheap. Paths count from
# the clone's root, so clones in different folders share what was compiled.
if command -v ccache >/dev/null; then
    options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
# Every process stops at the first fault and writes the address sanitizer's reports into $reports.
# libfaketime is preloaded ahead of the sanitizer's runtime by the tests that move the clock.
# The leak checker does not follow the thread-local storage of libraries loaded at run time
# (intercept_tls_get_addr=0): this runtime misreads it once Qt's JPEG plugin is loaded (show with
# a photo as the wallpaper) and crashes scanning an address near zero, coming and going with
# unrelated changes of the program.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:verify_asan_link_order=0:intercept_tls_get_addr=0:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
status=0
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --output-log "$reports/ctest.log" -j"$(nproc)") \
    || status=$?
# Undefined behaviour is reported on standard error (its runtime shares the address sanitizer's):
# the output of every test, passed or failed, is searched as well.
grep -E 'runtime error:|ERROR: (Address|Leak)Sanitizer' "$reports/ctest.log" >"$reports/found" || rm "$reports/found"
rm "$reports/ctest.log"
if compgen -G "$reports/*" >/dev/null; then
    for report in "$reports"/*; do
        echo "=== ${report##*/}"
        cat "$report"
    done
    echo "test_sanitized.sh: the sanitizers reported faults" >&2
    status=1
fi
exit $status
