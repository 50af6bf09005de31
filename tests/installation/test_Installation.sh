#!/usr/bin/env bash
# cmake --install into a temporary prefix: exactly the expected tree, the programs run from
# there, and the desktop files name what was installed beside them.
#   test_Installation.sh BUILD_DIR CMAKE APP_ID VERSION SOURCE_DIR
set -euo pipefail
bau=$1
cmake=$2
id=$3
version=$4
quelle=$5
# The programs must answer without a display.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
p=$tmp/prefix
"$cmake" --install "$bau" --prefix "$p" >"$tmp/install.log"

fehler=0
falsch() {
    echo "FAIL: $*"
    fehler=1
}

# The tree: every file, nothing else.
erwartet=(
    bin/bandwerk
    bin/bandwerk-cli
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/mime/packages/$id.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man1/bandwerk.1.gz
    share/man/man1/bandwerk-cli.1.gz
    share/doc/bandwerk/LICENSE
)
kanten=(16 22 24 32 48 64 128 256)
for k in "${kanten[@]}"; do
    erwartet+=("share/icons/hicolor/${k}x${k}/apps/$id.png")
done
if ! diff -u <(printf '%s\n' "${erwartet[@]}" | sort) <(cd "$p" && find . ! -type d | sed 's|^\./||' | sort); then
    falsch "installed tree differs from the expected one (- expected, + installed)"
fi
echo "Installed tree:"
(cd "$p" && find . ! -type d | sed 's|^\./||' | sort)

# The programs run from the prefix.
for programm in bandwerk bandwerk-cli; do
    if [ ! -x "$p/bin/$programm" ]; then
        falsch "bin/$programm is not executable"
        continue
    fi
    antwort=$("$p/bin/$programm" --version) || falsch "$programm --version failed"
    [ "$antwort" = "Bandwerk $version" ] || falsch "$programm --version says \"$antwort\""
    hilfe=$("$p/bin/$programm" --help) || falsch "$programm --help failed"
    grep -q '^Usage: ' <<<"$hilfe" || falsch "$programm --help shows no usage"
done

# Icons: a PNG of the right size for each folder (width and height from the IHDR chunk).
for k in "${kanten[@]}"; do
    png=$p/share/icons/hicolor/${k}x${k}/apps/$id.png
    [ -f "$png" ] || continue
    kopf=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [ "$kopf" = 89504e470d0a1a0a ] || falsch "$png is no PNG"
    read -r breite hoehe < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$breite" = "$k" ] && [ "$hoehe" = "$k" ] || falsch "$png is ${breite}x$hoehe"
done
svg=$p/share/icons/hicolor/scalable/apps/$id.svg
if [ -f "$svg" ]; then
    grep -q '<svg' "$svg" || falsch "$svg holds no SVG"
    if command -v xmllint >/dev/null 2>&1; then
        xmllint --noout --nonet "$svg" || falsch "$svg is no well-formed XML"
    fi
fi

# The desktop entry opens files with the installed program and shows the installed icon.
eintrag=$p/share/applications/$id.desktop
if [ -f "$eintrag" ]; then
    for zeile in 'Exec=bandwerk %f' "Icon=$id" 'Name=Bandwerk' 'Name\[de\]=.+' 'Comment=.+' 'Comment\[de\]=.+' \
        'Categories=.+;' 'MimeType=(.*;)?application/x-mzf;.*'; do
        grep -Eqx "$zeile" "$eintrag" || falsch "the desktop entry has no line $zeile"
    done
fi

# The metainfo names the entry, both programs (installed) and screenshots that exist.
meta=$p/share/metainfo/$id.metainfo.xml
if [ -f "$meta" ]; then
    grep -q "<id>$id</id>" "$meta" || falsch "metainfo: wrong id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || falsch "metainfo: no launchable"
    binaries=$(grep -o '<binary>[^<]*</binary>' "$meta" | sed 's|<[^>]*>||g' | sort | tr '\n' ' ')
    [ "$binaries" = "bandwerk bandwerk-cli " ] || falsch "metainfo provides the binaries \"$binaries\""
    bilder=$(grep -o '<image>[^<]*</image>' "$meta" | sed 's|<[^>]*>||g')
    [ -n "$bilder" ] || falsch "metainfo: no screenshot"
    for url in $bilder; do
        [[ $url == https://* ]] || falsch "screenshot $url is no https address"
        [ -f "$quelle/docs/screenshots/${url##*/}" ] || falsch "screenshot $url is not in docs/screenshots"
    done
fi

# Manual pages: intact, and found by man where the prefix puts them.
for seite in bandwerk bandwerk-cli; do
    gz=$p/share/man/man1/$seite.1.gz
    [ -f "$gz" ] || continue
    gzip -t "$gz" || falsch "$gz is broken"
    if command -v man >/dev/null 2>&1; then
        gefunden=$(MANPATH=$p/share/man man -w "$seite" 2>/dev/null) || true
        [ "$gefunden" = "$gz" ] || falsch "man -w $seite finds \"$gefunden\""
    fi
done

cmp -s "$quelle/LICENSE" "$p/share/doc/bandwerk/LICENSE" || falsch "LICENSE differs"

exit $fehler
