#!/usr/bin/env bash
# Removes what the install added. The settings (data.ini) stay unless --purge is given.
#   scripts/uninstall.sh [--prefix PREFIX] [--dir FOLDER] [--purge]
# PREFIX defaults to ~/.local, FOLDER to PREFIX/opt/vestrel, as for the install.
set -euo pipefail
prefix="$HOME/.local"
folder=""
purge=""
while [ $# -gt 0 ]; do
    case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --dir) folder="$2"; shift 2 ;;
    --purge) purge=1; shift ;;
    *) echo "usage: $0 [--prefix PREFIX] [--dir FOLDER] [--purge]" >&2; exit 2 ;;
    esac
done
prefix="$(realpath -m -- "$prefix")"
folder="$(realpath -m -- "${folder:-$prefix/opt/vestrel}")"
. "$(dirname "$0")/desktop_entry.sh"
# An entry is this installation's only when it starts exactly this folder's program.
ours() { [ -f "$1" ] && grep -qxF -- "$(desktop_exec "$folder")" "$1"; }
rm -f "$folder/Vestrel" "$folder/vestrel_sound.so" "$folder/s.wav" "$folder/.vestrel.lock"
if [ -n "$purge" ]; then
    rm -f "$folder/data.ini"
elif [ -f "$folder/data.ini" ]; then
    echo "Kept your settings: $folder/data.ini (remove them with --purge)"
fi
rmdir "$folder" 2>/dev/null || true
menu="$prefix/share/applications/vestrel.desktop"
if ours "$menu"; then
    rm -f "$menu" "$prefix/share/icons/hicolor/32x32/apps/vestrel.png"
fi
autostart="${XDG_CONFIG_HOME:-$HOME/.config}/autostart/vestrel.desktop"
if ours "$autostart"; then
    rm -f "$autostart"
fi
echo "Vestrel removed from $folder"
