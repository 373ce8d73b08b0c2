#!/usr/bin/env bash
# Builds Textferry and starts it. With --demo, a demo phone with generated
# conversations is placed among the virtual phones of the data folder first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

if [ "${1:-}" = "--demo" ]; then
    ./build/tools/gen_messages/tf_gen_messages --demo-phone
fi
exec ./build/app/textferry
