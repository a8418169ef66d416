#!/usr/bin/env bash
# Builds the Windows edition (64-bit, cross-compiled with mingw-w64) into DIR
# (default build-windows/):
#   zelk-windows-x64.zip   the programs, to run where they are unpacked
#   zelk-setup-x64.exe     the installer (per user, Start-menu entry 澄墨拆字)
# SQLCipher comes as the amalgamation of the npm package
# @journeyapps/sqlcipher, pinned by version and checksum, compiled with a
# crypto provider on Windows' CNG. The join model is compiled natively.
#   scripts/build-windows.sh [DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build-windows}")
mkdir -p "$out"
bash "$root/scripts/setup-debian.sh" windows

sqlcipher_package=@journeyapps/sqlcipher
sqlcipher_version=6.0.0  # SQLCipher 4.14.0 on SQLite 3.51.3
sqlcipher_sha256=ad3ee0e551de315b230db78e2294d41868b5c166d44c0c87da35fb6b87bde54c
tarball=$out/journeyapps-sqlcipher-$sqlcipher_version.tgz
verified() { echo "$sqlcipher_sha256  $tarball" | sha256sum --check --status 2> /dev/null; }
if ! verified; then
    echo "build-windows: fetching $sqlcipher_package@$sqlcipher_version"
    npm pack "$sqlcipher_package@$sqlcipher_version" --pack-destination "$out" \
        --silent --no-audit --no-fund > /dev/null
    verified || { echo "build-windows: $tarball does not have the pinned checksum" >&2; exit 1; }
fi
rm -rf "$out/sqlcipher"
mkdir -p "$out/sqlcipher"
tar -xzf "$tarball" -C "$out/sqlcipher" --strip-components=3 \
    package/deps/sqlcipher-amalgamation/sqlite3.c package/deps/sqlcipher-amalgamation/sqlite3.h

echo "build-windows: the join model (native)"
cmake -S "$root" -B "$out/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_ENGINE_ONLY=ON > /dev/null
cmake --build "$out/native" --target join_model

echo "build-windows: the programs and the packages (mingw-w64; wine makes the default database)"
cmake -S "$root" -B "$out/cross" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-x64.cmake" \
    -DZELK_SQLCIPHER_DIR="$out/sqlcipher" \
    -DZELK_NATIVE_DATA_DIR="$out/native/data" > /dev/null
cmake --build "$out/cross"
cp "$out/cross/zelk-windows-x64.zip" "$out/cross/zelk-setup-x64.exe" "$out/"
ls -l "$out/zelk-windows-x64.zip" "$out/zelk-setup-x64.exe" | awk '{printf "build-windows: %s (%d bytes)\n", $9, $5}'
