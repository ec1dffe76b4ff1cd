#!/usr/bin/env bash
# Removes what the install added: first the menu entry, its icons and the autostart entry,
# each only when it starts this folder's program, then the program. The settings (data.ini)
# stay unless --purge is given. Says what it removed and what it could not.
#   scripts/uninstall.sh [--prefix PREFIX] [--dir FOLDER] [--purge]
# PREFIX defaults to ~/.local, FOLDER to PREFIX/opt/vestrel, as for the install.
set -euo pipefail
usage() { echo "usage: $0 [--prefix PREFIX] [--dir FOLDER] [--purge]" >&2; exit 2; }
prefix="$HOME/.local"
folder=""
purge=""
while [ $# -gt 0 ]; do
    case "$1" in
    --prefix) [ $# -ge 2 ] || usage; prefix="$2"; shift 2 ;;
    --dir) [ $# -ge 2 ] || usage; folder="$2"; shift 2 ;;
    --purge) purge=1; shift ;;
    *) usage ;;
    esac
done
here="$(dirname "$0")"
. "$here/desktop_entry.sh"
prefix="$(realpath -m -- "$prefix")"
folder="$(realpath -m -- "${folder:-$prefix/opt/vestrel}")"

# The program an entry starts: its Exec= value with desktop_exec's escapes undone.
entry_program() {
    local v
    v=$(grep -m1 '^Exec="' -- "$1") || return 1
    v=${v#Exec=\"}; v=${v%\"}; v=${v//%%/%}; v=${v//\\\\/\\}
    printf '%s\n' "$v" | sed 's/\\\(.\)/\1/g'
}
# An entry is this installation's when it starts this folder's program, by whatever path
# (older versions wrote the path as given, links and all).
ours() {
    local p
    [ -f "$1" ] && p=$(entry_program "$1") && [ "${p##*/}" = Vestrel ] &&
        [ "$(realpath -m -- "${p%/*}")" = "$folder" ]
}
removed=() failed=()
drop() {
    local f
    for f; do
        [ -e "$f" ] || [ -L "$f" ] || continue
        if rm -f -- "$f"; then removed+=("$f"); else failed+=("$f"); fi
    done
}

for share in "$prefix/share" "$(xdg_dir XDG_DATA_HOME "$HOME/.local/share")"; do
    if ours "$share/applications/vestrel.desktop"; then
        drop "$share/applications/vestrel.desktop"
        for icon in "$here"/../resources/hicolor/*/apps/vestrel.*; do
            drop "$share/icons/hicolor/${icon#*/resources/hicolor/}"
        done
    fi
done
autostart="$(xdg_dir XDG_CONFIG_HOME "$HOME/.config")/autostart/vestrel.desktop"
if ours "$autostart"; then
    drop "$autostart"
fi
# vestrel_sound.so: the sound module of earlier versions.
drop "$folder/Vestrel" "$folder/vestrel_chime" "$folder/vestrel_sound.so" "$folder/s.wav" \
    "$folder/.vestrel.lock"
if [ -n "$purge" ]; then
    drop "$folder/data.ini"
elif [ -f "$folder/data.ini" ]; then
    echo "Kept your settings: $folder/data.ini (remove them with --purge)"
fi
rmdir -- "$folder" 2>/dev/null || true

if [ ${#removed[@]} -eq 0 ] && [ ${#failed[@]} -eq 0 ]; then
    echo "No Vestrel installed in $folder: nothing to remove."
fi
[ ${#removed[@]} -eq 0 ] || printf 'Removed %s\n' "${removed[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    printf 'Not removed: %s\n' "${failed[@]}" >&2
    exit 1
fi
