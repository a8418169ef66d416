#!/usr/bin/env bash
# Installs the Debian 12 packages that the build and the tests need. Safe to
# run again: it installs only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config python3
    libsqlcipher-dev libssl-dev
    libgtest-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
    qt6-translations-l10n
    fonts-arphic-uming fonts-noto-cjk fonts-liberation2
    desktop-file-utils appstream
    fortunes-zh
    xvfb xauth
    dpkg-dev fakeroot lintian
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
