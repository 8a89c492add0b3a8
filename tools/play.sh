#!/usr/bin/env bash
# Builds Varnoth and starts a game. Installs the Debian packages that building and playing
# need when missing (not those of the tests). Any arguments go to the game (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh play
# The tests and benchmarks stay out, and a compiler warning never stops a player's build. The
# default target also makes the icons and the manual page, so `cmake --install build` works.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNOTH_TESTS=OFF -DVARNOTH_BENCH=OFF -DVARNOTH_WERROR=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/main/varnoth "$@"
