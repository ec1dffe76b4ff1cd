#!/usr/bin/env bash
# Installs the Debian packages Vestrel needs, when any is missing.
#   scripts/deps.sh        what building and running needs
#   scripts/deps.sh test   and what the tests need (virtual display, sound server, tools,
#                          the Windows build and Wine)
#   scripts/deps.sh windows  what the Windows build alone needs
set -euo pipefail

# xvfb and imagemagick: scripts/run.sh's display where there is none, and its screenshot.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev
          libxcb1-dev libxcb-screensaver0-dev libpulse-dev fonts-liberation2 xvfb imagemagick)
if [ "${1:-}" = windows ]; then
    packages=(cmake g++-mingw-w64-x86-64-posix)
fi
if [ "${1:-}" = test ]; then
    packages+=(xdotool x11-utils pulseaudio pulseaudio-utils python3
               clang libclang-rt-14-dev libx11-dev python3-pyatspi at-spi2-core dbus
               acl desktop-file-utils openbox xfwm4 icewm fluxbox mutter kwin-wayland kwin-style-breeze
               weston xwayland clang-format git strace python3-dbusmock
               pipewire pipewire-pulse wireplumber libglib2.0-bin x11-xkb-utils locales
               g++-mingw-w64-x86-64-posix wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
