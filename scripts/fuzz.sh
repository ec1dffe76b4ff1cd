#!/usr/bin/env bash
# Builds the settings-file fuzzer with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for FUZZ_SECONDS (default 60) from the
# committed seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${BUILD_DIR:-$root/build}/fuzz"
# The settings code itself is instrumented too, so that the fuzzer sees what it covers.
cmake -S "$root" -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    -DVESTREL_FUZZER=ON >/dev/null
cmake --build "$out" --target profile_fuzzer -j"$(nproc)"
mkdir -p "$out/corpus"
cp -n "$root"/tests/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
cd "$out"
tests/profile_fuzzer -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 -timeout=2 \
    -print_final_stats=1 corpus "$root/tests/fuzz/corpus" 2>&1 | tail -n 25
