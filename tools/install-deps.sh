#!/usr/bin/env bash
# The Debian packages Varnoth needs, in two lists: what building and playing need, and what
# testing adds. Installs only what is missing, so a second run costs a dpkg query and nothing
# more.
#   tools/install-deps.sh play    building and playing (tools/play.sh)
#   tools/install-deps.sh test    that and everything the tests, the fuzzer and the package
#                                 checks use (tools/test.sh, .ci/run); the default
set -euo pipefail

# Building and playing: the compiler and CMake, Qt (with the plugins that open the window)
# and SQLite, and the fonts the game draws its texts with.
play_packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libsqlite3-dev
    fonts-dejavu-core fonts-liberation2 fonts-wine
)

# Testing adds: GoogleTest and Google Benchmark, clang for the fuzzer, clang-format for the
# style check, an X server and the tools that drive and look at the window, the validators
# of the desktop files, and what building and checking the Debian package takes.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth xdotool imagemagick x11-utils
    desktop-file-utils appstream groff-base
    file lintian devscripts
    # the reproducibility test: clones of the sources, and diffoscope to name what differs
    git diffoscope-minimal
    # a screen reader's view through AT-SPI, and the game on Wayland
    python3-pyatspi at-spi2-core dbus weston qt6-wayland
)

case ${1:-test} in
play) packages=("${play_packages[@]}") ;;
test) packages=("${play_packages[@]}" "${test_packages[@]}") ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
