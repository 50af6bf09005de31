#!/usr/bin/env bash
# cpack -G DEB from the build folder: one package that holds exactly the files cmake --install
# puts under /usr, dependencies found by dpkg-shlibdeps, programs that run from its contents.
#   test_Paket.sh BUILD_DIR CMAKE CPACK VERSION
# Exit status 77 (skipped) only when dpkg-deb or dpkg-shlibdeps is not installed.
set -euo pipefail
bau=$1
cmake=$2
cpack=$3
version=$4
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
for werkzeug in dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$werkzeug" >/dev/null 2>&1; then
        echo "SKIP: $werkzeug is not installed (tools/install-deps installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if ! "$cpack" -G DEB --config "$bau/CPackConfig.cmake" -B "$tmp/paket" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
pakete=("$tmp"/paket/*.deb)
if [ ${#pakete[@]} -ne 1 ] || [ ! -f "${pakete[0]}" ]; then
    echo "FAIL: cpack made ${#pakete[@]} packages: ${pakete[*]}"
    exit 1
fi
deb=${pakete[0]}

fehler=0
falsch() {
    echo "FAIL: $*"
    fehler=1
}

echo "dpkg-deb -c ${deb##*/}:"
dpkg-deb -c "$deb"

# The same files as an installation under /usr (directories aside).
"$cmake" --install "$bau" --prefix "$tmp/installiert/usr" >/dev/null
if ! diff -u <(cd "$tmp/installiert" && find . ! -type d | sed 's|^\./||' | sort) \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort); then
    falsch "the package holds other files than cmake --install (- installed, + package)"
fi

feld() { dpkg-deb -f "$deb" "$1"; }
[ "$(feld Package)" = bandwerk ] || falsch "Package: $(feld Package)"
[ "$(feld Version)" = "$version" ] || falsch "Version: $(feld Version)"
[ "$(feld Architecture)" = "$(dpkg --print-architecture)" ] || falsch "Architecture: $(feld Architecture)"
# dpkg-shlibdeps found the libraries the programs link; the platform plugins are named by hand.
abhaengig=$(feld Depends)
echo "Depends: $abhaengig"
namen=$(tr ',' '\n' <<<"$abhaengig" | awk '{ print $1 }')
for paket in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -Fqx "$paket" <<<"$namen" || falsch "Depends names no $paket"
done

# The programs in the package run.
dpkg-deb -x "$deb" "$tmp/inhalt"
for programm in bandwerk bandwerk-cli; do
    antwort=$("$tmp/inhalt/usr/bin/$programm" --version) || falsch "$programm from the package does not run"
    [ "$antwort" = "Bandwerk $version" ] || falsch "$programm --version says \"$antwort\""
done

exit $fehler
