#!/usr/bin/env bash
# Builds Vestrel.exe for 64-bit Windows 10 and 11 with Debian's mingw-w64 (installed first when
# missing), and the portable zip a Windows user unpacks and starts:
#   build-windows-release/Vestrel.exe
#   build-windows-release/Vestrel-1.00.0014-windows-x64.zip   (Vestrel.exe, s.wav, data.ini)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-windows-release}"
"$root/scripts/deps.sh" windows
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
# The default settings, not whatever a run of the build may have saved beside it.
package="$build/package"
rm -rf "$package"
mkdir -p "$package"
cp "$build/Vestrel.exe" "$root/resources/s.wav" "$root/resources/data.ini" "$package/"
zip="$build/Vestrel-1.00.0014-windows-x64.zip"
rm -f "$zip"
(cd "$package" && cmake -E tar cf "$zip" --format=zip Vestrel.exe s.wav data.ini)
echo "Built $build/Vestrel.exe and $zip"
