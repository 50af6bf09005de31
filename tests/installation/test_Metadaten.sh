#!/usr/bin/env bash
# The desktop files checked by the tools made for them; no error, no warning.
#   test_Metadaten.sh desktop FILE | appstream FILE | mime FILE SCHEMA
# Exit status 77 (skipped) only when the tool is not installed.
set -euo pipefail
art=$1
datei=$2

werkzeug() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "SKIP: $1 is not installed (tools/install-deps installs it)"
        exit 77
    fi
}

case $art in
desktop)
    werkzeug desktop-file-validate
    # Errors fail it; warnings and hints only print, and count here as well.
    meldungen=$(desktop-file-validate "$datei" 2>&1) || true
    if [ -n "$meldungen" ]; then
        echo "$meldungen"
        exit 1
    fi
    ;;
appstream)
    werkzeug appstreamcli
    appstreamcli validate --no-net --explain "$datei"
    ;;
mime)
    werkzeug xmllint
    xmllint --noout --nonet --relaxng "$3" "$datei"
    ;;
*)
    echo "unknown kind: $art" >&2
    exit 2
    ;;
esac
echo "OK: $datei"
