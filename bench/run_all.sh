#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build-bench beside the sources, or
# BENCH_BUILD_DIR) and runs each in turn. Takes a few minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEXTFERRY_BUILD_TESTS=OFF \
    -DTEXTFERRY_BUILD_BENCH=ON
cmake --build "$build" --target bench -j "$(nproc)"

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The benchmarks open main windows; they send nothing to the vendor's server.
export TEXTFERRY_SERVER="${TEXTFERRY_SERVER:-off}"
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo
    case "$(basename "$bench")" in
    # The first selection at the sizes its goals name: time and memory at 1M, growth from 100k.
    bench_select_localdb) "$bench" 100000 300000 1000000 ;;
    *) "$bench" ;;
    esac
done
