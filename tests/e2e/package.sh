#!/usr/bin/env bash
# The Debian package and the source tarball, made the way a packager makes them (the debian
# and release presets) in two clones of the last commit, must be the same bytes both times.
# The clones lie at different paths, the files of the second are years older, and its build
# runs later, under another time zone and language, compiling everything afresh (the first
# may use the compiler cache). Both run under umask 022: CPack 3.25 takes the modes of the
# folders in the package and of its own members from it. The first package is then checked
# by lintian, by hardening-check on the program it installs, and for one version everywhere
# it shows one.
#   package.sh SOURCE_DIR WORK_DIR [EXTRA_CMAKE_ARGS...]
# Exits 77 (skipped) when the tools that make or check a package are not installed, or when
# the sources have no history of their own (an unpacked tarball) to clone.
source "$(dirname "$0")/lib.sh"
need git cpack dpkg-deb dpkg-shlibdeps file xz lintian hardening-check readelf diffoscope
source_dir=$1 work=$2
shift 2
[[ $(git -C "$source_dir" rev-parse --show-toplevel 2>/dev/null) == "$source_dir" ]] ||
    { echo "SKIP: $source_dir is not a git checkout"; exit 77; }
# The work folder lies in the build tree, where the compiler cache knows the paths.
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work" "$WORK"' EXIT

# build NAME CLONE [EXTRA_CMAKE_ARGS...]: makes the package and the source tarball in CLONE
# and copies them out as NAME.deb and NAME.tar.xz.
build() {
    local name=$1 clone=$2
    shift 2
    (cd "$clone" && cmake --preset debian "$@" >/dev/null && cmake --build build-deb -j"$(nproc)" >/dev/null &&
        (cd build-deb && cpack -G DEB >/dev/null) && cmake --workflow --preset release >/dev/null) || return
    cp "$clone"/build-deb/varnoth_*.deb "$work/$name.deb" &&
        cp "$clone"/build-release/varnoth-*.tar.xz "$work/$name.tar.xz"
}

umask 0022
first=$work/a/varnoth
# The compiler cache writes the paths it makes relative under CCACHE_BASEDIR into the debug
# information, where a packager's compiler writes them mapped by -ffile-prefix-map.
git clone --quiet "$source_dir" "$first" && (unset CCACHE_BASEDIR && build first "$first" "$@") ||
    { echo "FAIL making the first package"; exit 1; }
second=$work/second/build/place/varnoth-sources
git clone --quiet "$source_dir" "$second" &&
    find "$second" -exec touch -h -d '2003-04-05 06:07:08' {} + &&
    (
        export TZ=Pacific/Chatham LC_ALL=C
        unset CMAKE_CXX_COMPILER_LAUNCHER
        build second "$second" -DCMAKE_CXX_COMPILER_LAUNCHER=
    ) || { echo "FAIL making the second package"; exit 1; }
for kind in deb tar.xz; do
    cmp -s "$work/first.$kind" "$work/second.$kind" && check "the two ${kind}s are the same bytes" same same ||
        { check "the two ${kind}s are the same bytes" same different
          diffoscope --text - "$work/first.$kind" "$work/second.$kind" | head -n 200; }
done

deb=$work/first.deb
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
debug_file=$first/build-deb/debug/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
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
