#!/usr/bin/env bash
# Builds the Debian package of Textferry: a Release build without tests and
# benchmarks in build-deb, with Debian's hardening flags, then "cpack -G DEB".
# Prints the package's path last. With --check, also validates the packaged
# menu entry (desktop-file-validate) and AppStream metainfo (appstreamcli) and
# runs lintian on the package; any error fails, warnings are shown only.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = "--check" ]; then
    check=1
fi

bash scripts/install-deps.sh --package

build=build-deb
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTEXTFERRY_BUILD_TESTS=OFF -DTEXTFERRY_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j "$(nproc)"

rm -f "$build"/textferry_*.deb
(cd "$build" && cpack -G DEB)
debs=("$PWD/$build"/textferry_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "package.sh: expected one package in $build, found: ${debs[*]}" >&2
    exit 1
fi
deb="${debs[0]}"

if [ "$check" -eq 1 ]; then
    unpacked="$(mktemp -d -t textferry-deb.XXXXXX)"
    trap 'rm -rf "$unpacked"' EXIT
    dpkg-deb -x "$deb" "$unpacked"
    echo "desktop-file-validate:"
    desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
    echo "appstreamcli validate:"
    appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
    echo "lintian:"
    lintian --fail-on error "$deb"
fi

echo "$deb"
