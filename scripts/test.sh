#!/usr/bin/env bash
# Set up, build the program, the tools, the browser edition and the Windows
# edition, and run every test: the Windows programs' under wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh" test
# The browser tests' driver, from the npm registry, as package-lock.json pins it.
npm ci --prefix "$root/tests/web" --no-audit --no-fund --ignore-scripts --loglevel=error
bash "$root/scripts/build.sh"
bash "$root/scripts/build-web.sh"
bash "$root/scripts/build-windows.sh"
status=0
ctest --test-dir "$root/build" --output-on-failure -j2 || status=1
ctest --test-dir "$root/build-windows/cross" --output-on-failure -j4 || status=1
exit $status
