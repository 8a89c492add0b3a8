#!/usr/bin/env bash
# Builds Varnoth and runs every test. Installs the Debian packages it needs when missing.
# Warnings are errors here, as in CI, and the standard library checks its preconditions.
#   tools/test.sh [BUILD_DIR [EXTRA_CMAKE_ARGS...]]     (default BUILD_DIR: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true

bash tools/install-deps.sh test
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNOTH_TESTS=ON -DVARNOTH_BENCH=ON -DVARNOTH_WERROR=ON -DVARNOTH_CHECKED=ON "$@"
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" -j"$(nproc)" --output-on-failure --timeout 600
