#!/usr/bin/env bash
# Installs the Debian 12 packages that a build needs: "run" the desktop
# program and the tools, "web" the browser edition, "windows" the Windows
# edition (cross-compiled, packed, and run under wine), "test" all of them
# and what the tests need besides. Safe to run again: it installs only what is missing,
# quietly.
#   scripts/setup-debian.sh [run|web|windows|test]      (default: run)
set -euo pipefail

common=(cmake ninja-build g++ pkg-config python3)
desktop=(
    libsqlcipher-dev libssl-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
    qt6-translations-l10n
    fonts-arphic-uming fonts-noto-cjk fonts-liberation2
)
web=(emscripten esbuild nodejs)
# mingw-w64 with the posix thread model, GoogleTest's sources for its tests,
# icotool for the icon, NSIS for the installer, wine to make the default
# database and to run the tests, Debian's SQLCipher shell to read the
# databases it writes, and the window test's display, clipboard and camera.
windows=(
    g++-mingw-w64-x86-64-posix googletest icoutils nsis wine wine64
    sqlcipher xvfb xauth openbox xdotool x11-utils xclip imagemagick fonts-arphic-uming
)
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
    windows) packages=("${common[@]}" "${windows[@]}") ;;
    test) packages=("${common[@]}" "${desktop[@]}" "${web[@]}" "${windows[@]}" "${testing[@]}") ;;
    *) echo "usage: setup-debian.sh [run|web|windows|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# The browser tests' driver comes from the npm registry: Debian's npm where
# the machine's Node.js brings none of its own.
# The Windows build fetches SQLCipher's sources from it too.
[[ ${1:-run} == test || ${1:-run} == windows ]] && ! command -v npm > /dev/null && missing+=(npm)
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
