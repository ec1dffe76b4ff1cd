#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: unit and window tests on
# Qt's offscreen platform, and the end-to-end test of the real binary under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" test
"$root/scripts/build.sh"
build="${BUILD_DIR:-$root/build}"
cd "$build"
ctest --output-on-failure --timeout 900
