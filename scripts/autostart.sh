#!/usr/bin/env bash
# Starts Vestrel at login, or stops doing so.
#   scripts/autostart.sh on [FOLDER]   FOLDER holds Vestrel (default ~/.local/opt/vestrel)
#   scripts/autostart.sh off
set -euo pipefail
. "$(dirname "$0")/desktop_entry.sh"
entry="$(xdg_dir XDG_CONFIG_HOME "$HOME/.config")/autostart/vestrel.desktop"
case "${1:-}" in
on)
    folder="${2:-$HOME/.local/opt/vestrel}"
    [ -x "$folder/Vestrel" ] || { echo "No Vestrel in $folder" >&2; exit 1; }
    mkdir -p "$(dirname "$entry")"
    "$(dirname "$0")/desktop_entry.sh" "$folder" "$entry.new" X-GNOME-Autostart-enabled=true
    mv "$entry.new" "$entry"
    echo "Vestrel starts at login: $entry"
    ;;
off)
    rm -f "$entry"
    echo "Vestrel no longer starts at login."
    ;;
*)
    echo "usage: $0 on [FOLDER] | off" >&2
    exit 2
    ;;
esac
