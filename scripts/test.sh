#!/usr/bin/env bash
# Set up, build the program, the tools and the browser edition, and run
# every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh" test
# The browser tests' driver, from the npm registry, as package-lock.json pins it.
npm ci --prefix "$root/tests/web" --no-audit --no-fund --ignore-scripts --loglevel=error
bash "$root/scripts/build.sh"
bash "$root/scripts/build-web.sh"
cd "$root/build"
ctest --output-on-failure -j2
