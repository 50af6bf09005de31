#!/usr/bin/env bash
# With the installed MIME package and desktop entry in a fresh XDG data home, xdg-mime knows the
# kinds of MZ files by name (in any case) and names Bandwerk's entry as the program for MZF files.
#   test_Dateitypen.sh BUILD_DIR CMAKE APP_ID
# Exit status 77 (skipped) only when a tool of xdg-utils, shared-mime-info or desktop-file-utils
# is missing.
set -euo pipefail
bau=$1
cmake=$2
id=$3
for werkzeug in xdg-mime mimetype update-mime-database update-desktop-database; do
    if ! command -v "$werkzeug" >/dev/null 2>&1; then
        echo "SKIP: $werkzeug is not installed (tools/install-deps installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$cmake" --install "$bau" --prefix "$tmp/prefix" >/dev/null

# Nothing of the person's own desktop: a home, configuration and data home of the test's own, and
# xdg-utils' generic way (the one that reads the freedesktop.org databases directly).
export HOME=$tmp/home
export XDG_CONFIG_HOME=$tmp/home/.config
export XDG_CONFIG_DIRS=$tmp/etc/xdg
export XDG_DATA_HOME=$tmp/prefix/share
export XDG_CURRENT_DESKTOP=X-Generic
unset XDG_MENU_PREFIX KDE_FULL_SESSION KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID MATE_DESKTOP_SESSION_ID \
    LXQT_SESSION_CONFIG DESKTOP_SESSION DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CONFIG_DIRS"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"

# An MZF file: attribute 01, name "GAME" and CR, size 4, load and start address $1200, then the
# body; the rest of the 128-byte header is zero.
dateien=$tmp/dateien
mkdir -p "$dateien"
{
    printf '\001GAME\r'
    head -c 12 /dev/zero
    printf '\004\000\000\022\000\022'
    head -c 104 /dev/zero
    printf '\076\001\311\000'
} >"$dateien/vorlage"

fehler=0
for fall in game.mzf:application/x-mzf GAME.MZF:application/x-mzf Spiel.Mzf:application/x-mzf \
    spiel.m12:application/x-mzf SPIEL.M12:application/x-mzf band.mzt:application/x-mzt \
    BAND.MZT:application/x-mzt; do
    name=${fall%%:*}
    typ=${fall#*:}
    cp "$dateien/vorlage" "$dateien/$name"
    antwort=$(xdg-mime query filetype "$dateien/$name")
    echo "$name: $antwort"
    if [ "$antwort" != "$typ" ]; then
        echo "FAIL: xdg-mime query filetype $name says \"$antwort\", not $typ"
        fehler=1
    fi
done

# xdg-mime's generic way reads the globs without their flags; GIO and KDE read globs2, where "cs"
# would mark a pattern that matches only in its own case.
muster=$(grep -E '^[0-9]+:application/x-mz[ft]:' "$XDG_DATA_HOME/mime/globs2" | sort)
echo "globs2: $(tr '\n' ' ' <<<"$muster")"
if [ "$(cut -d: -f2,3 <<<"$muster" | tr '\n' ' ')" != "application/x-mzf:*.m12 application/x-mzf:*.mzf application/x-mzt:*.mzt " ] ||
    grep -q ':cs' <<<"$muster"; then
    echo "FAIL: globs2 does not hold the three patterns without regard to case"
    fehler=1
fi

programm=$(xdg-mime query default application/x-mzf)
echo "application/x-mzf: $programm"
if [ "$programm" != "$id.desktop" ]; then
    echo "FAIL: xdg-mime query default application/x-mzf says \"$programm\", not $id.desktop"
    fehler=1
fi
exit $fehler
