#!/usr/bin/env bash
# Installs what building, testing and running Textferry needs, from Debian's
# packages; with --package, also what building and checking the Debian package
# needs (scripts/package.sh). Does nothing for packages already there; needs
# root to install.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    libsqlite3-dev
    fonts-dejavu-core fonts-noto-color-emoji fonts-symbola
    adb android-sdk-platform-tools-common
    poppler-utils
    python3
)
if [ "${1:-}" = "--package" ]; then
    # dpkg-dev: dpkg-shlibdeps and dpkg-buildflags; file: CPack finds the
    # programs to strip and to work out the dependencies of with it.
    PACKAGES+=(dpkg-dev file desktop-file-utils appstream lintian)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
