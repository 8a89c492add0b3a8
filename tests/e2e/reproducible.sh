#!/usr/bin/env bash
# Two builds of the Debian package from two clones of the last commit must give the same bytes,
# and so must the source tarballs made in them. The clones lie at different paths, the files of
# the second are years older, and its build runs later, under another time zone and language,
# compiling everything afresh as a packager does (the first may use the compiler cache). Both
# run under umask 022: CPack 3.25 takes the modes of the folders in the package and of the
# package's own members from it. On a mismatch the differing files are named, by diffoscope
# where it is installed.
#   reproducible.sh SOURCE_DIR WORK_DIR [EXTRA_CMAKE_ARGS...]
# Exits 77 (skipped) when the tools that make a package are not installed.
source "$(dirname "$0")/lib.sh"
need git cpack dpkg-deb dpkg-shlibdeps file xz
source_dir=$1 work=$2
shift 2
# Sources without their own history (an unpacked tarball) have no commit to clone.
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

# differences A B: what differs between the two, as a reader can act on it.
differences() {
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$1" "$2" | head -n 200
    elif [[ $1 == *.deb ]]; then
        dpkg-deb -R "$1" "$work/x" && dpkg-deb -R "$2" "$work/y" && diff -rq "$work/x" "$work/y"
        diff <(dpkg-deb -c "$1") <(dpkg-deb -c "$2")
    else
        diff <(tar -tvJf "$1") <(tar -tvJf "$2")
    fi
}

for kind in deb tar.xz; do
    if cmp -s "$work/first.$kind" "$work/second.$kind"; then
        check "the two ${kind}s are the same bytes" same same
    else
        check "the two ${kind}s are the same bytes" same different
        differences "$work/first.$kind" "$work/second.$kind"
    fi
done
finish
