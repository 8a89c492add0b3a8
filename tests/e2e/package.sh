#!/usr/bin/env bash
# The Debian package, made the way a packager makes it (the debian preset in its own build
# folder), checked by lintian and by hardening-check on the program it installs.
#   package.sh SOURCE_DIR BUILD_DIR [EXTRA_CMAKE_ARGS...]
# Exits 77 (skipped) when the tools that make or check a package are not installed.
set -uo pipefail
source_dir=$1
build_dir=$2
shift 2

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian hardening-check; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then
        echo "ok   $1"
    else
        echo "FAIL $1"
        failures=$((failures + 1))
    fi
}

cd "$source_dir" || exit 1
if ! { cmake --preset debian -B "$build_dir" "$@" >/dev/null &&
    cmake --build "$build_dir" -j"$(nproc)" >/dev/null &&
    (cd "$build_dir" && rm -f ./*.deb && cpack -G DEB >/dev/null); }; then
    echo "FAIL making the package"
    exit 1
fi
deb=$(ls "$build_dir"/varnoth_*.deb)
echo "made $deb"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/games/varnoth \
    ./usr/share/applications/io.github.varnoth.Varnoth.desktop \
    ./usr/share/metainfo/io.github.varnoth.Varnoth.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/io.github.varnoth.Varnoth.svg \
    ./usr/share/icons/hicolor/48x48/apps/io.github.varnoth.Varnoth.png \
    ./usr/share/man/man6/varnoth.6.gz \
    ./usr/share/doc/varnoth/copyright \
    ./usr/share/doc/varnoth/changelog.gz; do
    check "installs $path" grep -qxF "$path" <<<"$listing"
done
check "section games" test "$(dpkg-deb -f "$deb" Section)" = games
depends=$(dpkg-deb -f "$deb" Depends)
check "depends on the libraries the program links" grep -q 'libqt6widgets6.*libsqlite3-0' <<<"$depends"
check "depends on the fonts the program reads" grep -q 'fonts-dejavu-core, fonts-liberation2' <<<"$depends"

# Errors and warnings fail; the informational and pedantic notes are shown for a reader.
check "lintian finds no error or warning" \
    lintian --fail-on error,warning --display-info --pedantic "$deb"

root=$build_dir/package-root
rm -rf "$root"
dpkg-deb -x "$deb" "$root"
# Control-flow protection shows only when every object in the program carries its mark, the
# C library's start files too; Debian 12's do not, so no program linked there has it (not
# even /usr/bin/ls). The check asks for it wherever the start files have it.
skip=()
if ! readelf -n "$(c++ -print-file-name=Scrt1.o)" | grep -q 'IBT, SHSTK'; then
    skip=(--nocfprotection)
    echo "note: the C library's start files lack control-flow protection; not asked for"
fi
check "hardening-check finds nothing missing" \
    hardening-check "${skip[@]}" "$root/usr/games/varnoth"

echo "$failures failed"
((failures == 0))
