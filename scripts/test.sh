#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: unit and window tests on
# Qt's offscreen platform, the tests of the real binary under Xvfb, the fault and soak
# tests; the Windows build with the same form tests and the real Vestrel.exe under Wine; then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# a minute of fuzzing of the settings file, and a short benchmark against its targets.
#   QUICK=1 scripts/test.sh    only the first part, without the tests of the real binary
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" test
echo "== formatting"
(cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror)
"$root/scripts/build.sh" -DBUILD_TESTING=ON
build="${BUILD_DIR:-$root/build}"

echo "== tests"
(cd "$build" && ctest --output-on-failure --timeout 900 ${QUICK:+-LE e2e})

echo "== the Windows build, its tests under Wine"
windows="${WINDOWS_BUILD_DIR:-$root/build-windows}"
cmake -S "$root" -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build "$windows" -j"$(nproc)"
(cd "$windows" && ctest --output-on-failure --timeout 900 ${QUICK:+-LE e2e})
[ -n "${QUICK:-}" ] && exit 0

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The same code runs under every window manager: the sanitizers see it under openbox,
# mutter and weston, which keeps the whole run well inside CI's time.
"$root/scripts/sanitize.sh" -E 'end_to_end_(xfwm4|icewm|fluxbox|kwin)$'

echo "== fuzzing the settings file"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}" "$root/scripts/fuzz.sh"

echo "== benchmark, short run"
python3 "$root/bench/run.py" --quick --check
