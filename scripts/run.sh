#!/usr/bin/env bash
# Builds Textferry and starts it. With --demo, simulated phones take part:
# three are plugged in through the stand-in adb (first on PATH for this run
# only) and appear, load under their progress dialogs and show their
# conversations: two with the companion app, and one without it (Android 13,
# it refuses the app's package) that is read over the adb shell; a fourth
# waits on WiFi at 127.0.0.2 ("Connect Android Phone via WiFi" in the Tools
# menu) and reports no country code, so Textferry asks for its country.
# Closing Textferry stops the simulator.
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
demo="$TEXTFERRY_PHONESIM_DIR"
wifi_pid=""

stop_simulator() {
    [ -n "$wifi_pid" ] && kill "$wifi_pid" 2>/dev/null || true
    "$sim" unplug DEMO-PHONE-1 || true
    "$sim" unplug DEMO-PHONE-2 || true
    "$sim" unplug DEMO-PHONE-3 || true
    pkill -f -- "--phone $demo/" 2>/dev/null || true
    rm -rf "$demo"
}
trap stop_simulator EXIT

"$sim" generate "$demo/phone-1.json" --messages 3000 --conversations 60 --seed 7 --serial DEMO-PHONE-1 \
    --manufacturer Textferry --model "Demo Phone" --imei 350000000000042 --uid demo-phone-1
"$sim" generate "$demo/phone-2.json" --messages 400 --conversations 12 --seed 8 --serial DEMO-PHONE-2 \
    --manufacturer Textferry --model "Second Phone" --imei 350000000000043 --uid demo-phone-2
"$sim" generate "$demo/phone-3.json" --messages 300 --conversations 10 --seed 10 --serial DEMO-PHONE-3 \
    --manufacturer Textferry --model "Phone Without App" --companion no
"$sim" generate "$demo/wifi-phone.json" --messages 200 --conversations 8 --seed 9 --serial DEMO-WIFI \
    --manufacturer Textferry --model "WiFi Phone" --imei 350000000000044 --uid demo-wifi --mmc ""
"$sim" plug "$demo/phone-1.json"
"$sim" plug "$demo/phone-2.json"
"$sim" plug "$demo/phone-3.json"
"$sim" wifi --phone "$demo/wifi-phone.json" --host 127.0.0.2 &
wifi_pid=$!
echo "demo: three phones plugged in (DEMO-PHONE-3 without the companion app); a WiFi phone waits at 127.0.0.2"
echo "      unplug one with: TEXTFERRY_PHONESIM_DIR=$demo $sim unplug DEMO-PHONE-2"
./build/app/textferry
