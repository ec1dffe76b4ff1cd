#!/usr/bin/env bash
# Writes Vestrel's desktop entry (resources/vestrel.desktop.in) for the program in FOLDER,
# the folder made absolute, quoted and escaped as desktop entries require; a folder name the
# format cannot carry (control characters, not UTF-8) is refused and nothing is written.
#   scripts/desktop_entry.sh FOLDER OUT [LINE...]     each LINE is added at the end
# Sourced, it only defines desktop_exec FOLDER, which prints that folder's Exec= line, and
# xdg_dir VARIABLE DEFAULT, which prints an XDG base directory.

# The Exec value: the program's path as one quoted argument (\ " ` $ escaped inside the
# quotes), then escaped again as a string value (\ doubled), with % doubled for field codes.
desktop_exec() {
    local v="$1/Vestrel"
    v=${v//\\/\\\\}; v=${v//\"/\\\"}; v=${v//\`/\\\`}; v=${v//\$/\\\$}
    v=${v//\\/\\\\}; v=${v//%/%%}
    printf 'Exec="%s"\n' "$v"
}

# freedesktop.org's base-directory rules: a value that is not an absolute path is ignored.
xdg_dir() {
    if [[ "${!1:-}" == /* ]]; then printf '%s\n' "${!1}"; else printf '%s\n' "$2"; fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    export LC_ALL=C
    # Absolute, as launchers need, but by the path given, links and all; read up to its NUL,
    # as $(...) would lose a trailing newline.
    IFS= read -r -d '' folder < <(realpath -z -m -s -- "$1")
    out="$2"
    shift 2
    if [[ "$folder" =~ [[:cntrl:]] ]] || ! printf '%s' "$folder" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
        echo "The folder name cannot go into a desktop entry (control characters or not UTF-8): $folder" >&2
        exit 1
    fi
    template="$(dirname "$0")/../resources/vestrel.desktop.in"
    exec_line="$(desktop_exec "$folder")"
    path="${folder//\\/\\\\}"
    {
        while IFS= read -r line; do
            case "$line" in
            Exec=*) printf '%s\n' "$exec_line" ;;
            Path=*) printf 'Path=%s\n' "$path" ;;
            *) printf '%s\n' "$line" ;;
            esac
        done < "$template"
        [ $# -eq 0 ] || printf '%s\n' "$@"
    } > "$out"
    if [[ "$folder" == *%* ]]; then
        echo "Written, but desktops that start programs through GLib (GNOME among them) will not" \
             "start it: its folder's name has a '%' ($folder)." >&2
    fi
fi
