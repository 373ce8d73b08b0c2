#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build-bench beside the sources, or
# BENCH_BUILD_DIR) and runs each in turn; every figure is printed beside its
# floor measured in the same run (raw SQLite, the Python scripts of bench/).
#
#   bench/run_all.sh [full|quick|MESSAGES] [BENCH_NAME...]
#
# full (the default): 100,000 messages each (the first selection also at
#   300,000 and 1,000,000); the XML import also at
#   1,000,000 records (its file of ten times the messages). The benchmarks
#   take about 6 minutes on two cores (the 1,000,000-record import and its
#   floor 3 of them), the build before them more when it is not up to date.
# quick: 10,000 messages (the import also at 100,000), about half a minute:
#   to see a change's direction, not to quote.
# MESSAGES: that many messages instead.
# BENCH_NAME...: only those benchmarks (e.g. bench_import_xml bench_export).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"

mode="${1:-full}"
[ $# -gt 0 ] && shift
case "$mode" in
full) messages=100000 ;;
quick) messages=10000 ;;
*[!0-9]* | '')
    echo "usage: $0 [full|quick|MESSAGES] [BENCH_NAME...]" >&2
    exit 2
    ;;
*) messages="$mode" ;;
esac

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEXTFERRY_BUILD_TESTS=OFF \
    -DTEXTFERRY_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target bench -j "$(nproc)"

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The benchmarks open main windows; they send nothing to the vendor's server.
export TEXTFERRY_SERVER="${TEXTFERRY_SERVER:-off}"

# The message count each benchmark takes as its first argument; the phone
# transfer sends a tenth (its acknowledged batches are the slow part), the
# long-message window takes text lengths instead and keeps its own.
arguments_of() {
    case "$1" in
    bench_phone_transfer) echo $((messages / 10 > 0 ? messages / 10 : 1)) ;;
    bench_long_message) ;;
    # The first selection at the count, three and ten times it: the goals
    # name time and memory at ten times and the growth from the count.
    bench_select_localdb) echo "$messages" $((messages * 3)) $((messages * 10)) ;;
    *) echo "$messages" ;;
    esac
}

started=$(date +%s)
status=0
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    name="$(basename "$bench")"
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then
        continue
    fi
    echo
    # shellcheck disable=SC2046 # the argument list is empty or numbers
    "$bench" $(arguments_of "$name") || {
        echo "$name failed (exit $?)" >&2
        status=1
    }
done
echo
echo "all benchmarks ($mode, $messages messages): $(($(date +%s) - started)) s"
exit "$status"
