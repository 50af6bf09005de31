#!/usr/bin/env bash
# A manual page describes exactly the options that the program's --help names, and uses no other
# (both sides taken from what they show, so the comparison follows every change of the command
# line); it shows the program's version, and groff formats it without a warning.
#   test_Handbuch.sh PROGRAM MANUAL_PAGE
# Exit status 77 (skipped) only when groff is not installed.
set -euo pipefail
programm=$1
seite=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
if ! command -v groff >/dev/null 2>&1; then
    echo "SKIP: groff is not installed (tools/install-deps installs it)"
    exit 77
fi

fehler=0
warnungen=$(groff -man -ww -z "$seite" 2>&1)
if [ -n "$warnungen" ]; then
    echo "$warnungen"
    echo "FAIL: groff warns about $seite"
    fehler=1
fi

# Plain text, each paragraph on one line, no hyphenation, no bold or underline.
text=$(groff -man -Tascii -rLL=400n -rHY=0 -P-c -P-b -P-o -P-u "$seite" 2>/dev/null)
hilfe=$("$programm" --help)

# An option: "-" or "--" and a name, not inside a word (MZ-700 and bandwerk-cli are none).
optionen() {
    perl -ne 'while (/(?<![\w-])(--?[A-Za-z][A-Za-z0-9-]*)/g) { print "$1\n" }' | sort -u
}
# The section OPTIONS of the page: from its heading to the next one.
abschnitt_optionen() {
    awk '/^OPTIONS$/ { drin = 1; next } /^[A-Z]/ { drin = 0 } drin'
}
echo "options of $programm --help: $(optionen <<<"$hilfe" | tr '\n' ' ')"
if ! diff -u --label "$programm --help" --label "OPTIONS of ${seite##*/}" <(optionen <<<"$hilfe") \
    <(abschnitt_optionen <<<"$text" | optionen); then
    echo "FAIL: the section OPTIONS of the manual page describes other options than --help names"
    fehler=1
fi
# Nor may the rest of the page (synopsis, examples) use an option that --help does not know.
fremd=$(comm -13 <(optionen <<<"$hilfe") <(optionen <<<"$text"))
if [ -n "$fremd" ]; then
    echo "FAIL: the manual page names options that --help does not: $fremd"
    fehler=1
fi

version=$("$programm" --version)
if ! grep -qF "$version" <<<"$text"; then
    echo "FAIL: the manual page does not show \"$version\""
    fehler=1
fi
exit $fehler
