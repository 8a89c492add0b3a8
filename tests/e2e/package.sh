#!/usr/bin/env bash
# The Debian package, made the way a packager makes it (the debian preset in its own build
# folder), checked by lintian and by hardening-check on the program it installs.
#   package.sh SOURCE_DIR BUILD_DIR [EXTRA_CMAKE_ARGS...]
# Exits 77 (skipped) when the tools that make or check a package are not installed.
source "$(dirname "$0")/lib.sh"
need cpack dpkg-deb dpkg-shlibdeps file lintian hardening-check
build_dir=$2
cd "$1" || exit 1
shift 2
{ cmake --preset debian -B "$build_dir" "$@" >/dev/null &&
    cmake --build "$build_dir" -j"$(nproc)" >/dev/null &&
    (cd "$build_dir" && rm -f ./*.deb && cpack -G DEB >/dev/null); } || { echo "FAIL making the package"; exit 1; }
deb=$(ls "$build_dir"/varnoth_*.deb)

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in games/varnoth share/applications/io.github.varnoth.Varnoth.desktop \
    share/metainfo/io.github.varnoth.Varnoth.metainfo.xml \
    share/icons/hicolor/{scalable/apps/io.github.varnoth.Varnoth.svg,48x48/apps/io.github.varnoth.Varnoth.png} \
    share/man/man6/varnoth.6.gz share/doc/varnoth/{copyright,changelog.gz}; do
    passes "installs /usr/$path" grep -qxF "./usr/$path" <<<"$listing"
done
check "section" games "$(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
passes "depends on the libraries the program links" grep -q 'libqt6widgets6.*libsqlite3-0' <<<"$depends"
passes "depends on the fonts the program reads" grep -q 'fonts-dejavu-core, fonts-liberation2' <<<"$depends"

# Errors and warnings fail; the informational and pedantic notes are shown for a reader.
passes "lintian finds no error or warning" lintian --fail-on error,warning --display-info --pedantic "$deb"

dpkg-deb -x "$deb" "$WORK/root"
# Control-flow protection shows only when every object in the program carries its mark, the
# C library's start files too; Debian 12's do not, so no program linked there has it (not
# even /usr/bin/ls). The check asks for it wherever the start files have it.
cf=()
[[ $(readelf -n "$(c++ -print-file-name=Scrt1.o)") == *'IBT, SHSTK'* ]] || cf=(--nocfprotection)
passes "hardening-check finds nothing missing" hardening-check "${cf[@]}" "$WORK/root/usr/games/varnoth"
finish
