#!/usr/bin/env bash
# Installs the Debian 12 packages that a build needs: "run" the desktop
# program and the tools, "web" the browser edition, "test" both and what the
# tests need besides. Safe to run again: it installs only what is missing,
# quietly.
#   scripts/setup-debian.sh [run|web|test]      (default: run)
set -euo pipefail

common=(cmake ninja-build g++ pkg-config python3)
desktop=(
    libsqlcipher-dev libssl-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
    qt6-translations-l10n
    fonts-arphic-uming fonts-noto-cjk fonts-liberation2
)
web=(emscripten esbuild nodejs)
testing=(
    libgtest-dev
    desktop-file-utils appstream dpkg-dev fakeroot lintian
    fortunes-zh opencc
    xvfb xauth openbox xdotool x11-utils
    chromium firefox-esr
)
case ${1:-run} in
    run) packages=("${common[@]}" "${desktop[@]}") ;;
    web) packages=("${common[@]}" "${web[@]}") ;;
    test) packages=("${common[@]}" "${desktop[@]}" "${web[@]}" "${testing[@]}") ;;
    *) echo "usage: setup-debian.sh [run|web|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# The browser tests' driver comes from the npm registry: Debian's npm where
# the machine's Node.js brings none of its own.
[[ ${1:-run} == test ]] && ! command -v npm > /dev/null && missing+=(npm)
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
