#!/usr/bin/env bash
# Builds the settings-file fuzzer with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for FUZZ_SECONDS (default 60) from the
# committed seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${BUILD_DIR:-$root/build}/fuzz"
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" $(pkg-config --cflags Qt6Core) \
    "$root/tests/fuzz/profile_fuzzer.cpp" "$root/core/ProfileFile.cpp" "$root/core/Windows1250.cpp" \
    $(pkg-config --libs Qt6Core) -o "$out/profile_fuzzer"
cp -n "$root"/tests/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
cd "$out"
./profile_fuzzer -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 -timeout=2 \
    -print_final_stats=1 corpus "$root/tests/fuzz/corpus" 2>&1 | tail -n 25
