#!/usr/bin/env bash
# Installs the Debian 12 packages that the build needs, and with "test" also
# those the tests and the package check need. Safe to run again: it installs
# only what is missing, quietly.
#   scripts/setup-debian.sh [run|test]      (default: run)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config python3
    libsqlcipher-dev libssl-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
    qt6-translations-l10n
    fonts-arphic-uming fonts-noto-cjk fonts-liberation2
)
if [[ ${1:-run} == test ]]; then
    packages+=(
        libgtest-dev
        desktop-file-utils appstream dpkg-dev fakeroot lintian
        fortunes-zh
        xvfb xauth openbox xdotool x11-utils
    )
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "setup: installing ${missing[*]} (log: /tmp/zelk-setup.log)"
if ! { $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"; } > /tmp/zelk-setup.log 2>&1; then
    tail -20 /tmp/zelk-setup.log >&2
    echo "setup: the installation failed" >&2
    exit 1
fi
