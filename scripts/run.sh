#!/usr/bin/env bash
# Builds Textferry and starts it. With --demo, a simulated phone with a few
# thousand generated messages is plugged in through the stand-in adb (first on
# PATH for this run only): the phone appears, loads under its progress dialog
# and shows its conversations. Closing Textferry stops the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

if [ "${1:-}" != "--demo" ]; then
    exec ./build/app/textferry
fi

sim="$PWD/build/tools/phonesim/textferry-phonesim"
export PATH="$PWD/build/tools/phonesim/standin-bin:$PATH"
TEXTFERRY_PHONESIM_DIR="$(mktemp -d -t textferry-demo.XXXXXX)"
export TEXTFERRY_PHONESIM_DIR

stop_simulator() {
    "$sim" unplug DEMO-PHONE-1 || true
    pkill -f -- "--phone $TEXTFERRY_PHONESIM_DIR/" 2>/dev/null || true
    rm -rf "$TEXTFERRY_PHONESIM_DIR"
}
trap stop_simulator EXIT

"$sim" generate "$TEXTFERRY_PHONESIM_DIR/demo-phone.json" --messages 3000 --conversations 60 --seed 7 \
    --serial DEMO-PHONE-1 --manufacturer Textferry --model "Demo Phone" --imei 350000000000042 --uid demo-phone-1
"$sim" plug "$TEXTFERRY_PHONESIM_DIR/demo-phone.json"
echo "demo phone DEMO-PHONE-1 plugged in (unplug it with: TEXTFERRY_PHONESIM_DIR=$TEXTFERRY_PHONESIM_DIR $sim unplug DEMO-PHONE-1)"
./build/app/textferry
