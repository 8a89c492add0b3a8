#!/usr/bin/env bash
# The Debian package, made the way a packager makes it (the debian preset in its own build
# folder), checked by lintian and by hardening-check on the program it installs, and for one
# version everywhere it shows one.
#   package.sh SOURCE_DIR BUILD_DIR [EXTRA_CMAKE_ARGS...]
# Exits 77 (skipped) when the tools that make or check a package are not installed.
source "$(dirname "$0")/lib.sh"
need cpack dpkg-deb dpkg-shlibdeps file lintian hardening-check readelf
build_dir=$2
cd "$1" || exit 1
shift 2
{ cmake --preset debian -B "$build_dir" "$@" >/dev/null &&
    cmake --build "$build_dir" -j"$(nproc)" >/dev/null &&
    (cd "$build_dir" && rm -rf ./*.deb debug && cpack -G DEB >/dev/null); } || { echo "FAIL making the package"; exit 1; }
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
passes "depends on the fonts the program reads" grep -q 'fonts-dejavu-core, fonts-liberation2, fonts-wine' <<<"$depends"

passes "lintian finds nothing, not even a pedantic note" \
    lintian --fail-on error,warning,info,pedantic --display-info --pedantic "$deb"

dpkg-deb -x "$deb" "$WORK/root"
# Control-flow protection shows only when every object in the program carries its mark, the
# C library's start files too; Debian 12's do not, so no program linked there has it (not
# even /usr/bin/ls). The check asks for it wherever the start files have it.
cf=()
[[ $(readelf -n "$(c++ -print-file-name=Scrt1.o)") == *'IBT, SHSTK'* ]] || cf=(--nocfprotection)
program=$WORK/root/usr/games/varnoth
passes "hardening-check finds nothing missing" hardening-check "${cf[@]}" "$program"

# The program goes out without debug information or the compiler's notes; its build ID finds
# the debug information kept in the build folder.
sections=$(readelf -SW "$program")
check "no .comment or debug section in the program" "" "$(grep -oE '\.(comment|debug_[a-z]+)' <<<"$sections")"
id=$(readelf -n "$program" | sed -n 's/.*Build ID: //p')
debug_file=$build_dir/debug/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
check "the debug information has the program's build ID" "$id" \
    "$(readelf -n "$debug_file" 2>/dev/null | sed -n 's/.*Build ID: //p')"
passes "the debug information has the program's lines" grep -q '\.debug_line ' \
    <(readelf -SW "$debug_file" 2>/dev/null)

# One version: the package's, the program's, the newest release note's, and the AppStream data's
# newest release and the manual page's, each dated as that note.
version=$(dpkg-deb -f "$deb" Version)
note=$(zcat "$WORK/root/usr/share/doc/varnoth/changelog.gz")
day=$(date -u -d "$(grep -m 1 -oP '^ -- .*  \K.*' <<<"$note")" +%F)
metainfo=$WORK/root/usr/share/metainfo/io.github.varnoth.Varnoth.metainfo.xml
check "the program's version" "varnoth $version" "$("$program" --version)"
check "the newest release note's version" "varnoth ($version)" "$(head -n 1 <<<"$note" | cut -d' ' -f1-2)"
check "the AppStream data's newest release" "<release version=\"$version\" date=\"$day\">" \
    "$(grep -m 1 -o '<release .*' "$metainfo")"
check "the manual page's release" "$day \"Varnoth $version\"" \
    "$(zcat "$WORK/root/usr/share/man/man6/varnoth.6.gz" | head -n 1 | cut -d' ' -f4-6)"
finish
