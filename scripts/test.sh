#!/usr/bin/env bash
# Builds Textferry and runs every test. With --sanitize, builds in its own
# folder with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-asan
    flags=(-DCMAKE_BUILD_TYPE=Debug -DTEXTFERRY_SANITIZE=ON -DTEXTFERRY_BUILD_BENCH=OFF)
fi

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DTEXTFERRY_WERROR=ON "${flags[@]}"
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Leaks that Qt, fontconfig and the platform libraries report at exit are
# theirs, not ours: tests/lsan.supp names only those libraries.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
