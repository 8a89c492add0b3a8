#!/usr/bin/env bash
# Builds Varnoth and starts a game. Installs the Debian packages it needs when missing.
# Any arguments go to the game (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target varnoth
exec build/main/varnoth "$@"
