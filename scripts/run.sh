#!/usr/bin/env bash
# Builds Vestrel and starts it from the build folder, beside the default data.ini and s.wav.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" -DBUILD_TESTING=OFF
build="${BUILD_DIR:-$root/build}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    display=:77
    echo "No display found: starting Vestrel on a virtual X display ($display, Xvfb)."
    echo "Take a screenshot of it with: DISPLAY=$display import -window root shot.png"
    echo "(a white screen with Vestrel's small black square in its top-left corner)"
    # A white root window: the black square would not show on Xvfb's default black.
    Xvfb "$display" -screen 0 1280x800x24 -wr -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    export DISPLAY=$display
    sleep 1
    "$build/Vestrel"
else
    exec "$build/Vestrel"
fi
