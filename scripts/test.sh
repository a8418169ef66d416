#!/usr/bin/env bash
# Set up, build the program, the tools and the browser edition, and run
# every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh" test
bash "$root/scripts/build.sh"
bash "$root/scripts/build-web.sh"
cd "$root/build"
ctest --output-on-failure -j2
