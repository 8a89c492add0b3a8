#!/usr/bin/env bash
# Builds the registry fuzzer with clang in BUILD_DIR and runs it for SECONDS.
# Usage: tools/run-fuzz.sh BUILD_DIR SECONDS
# The corpus stays in BUILD_DIR/fuzz/registry-corpus, so a later run goes on from it; inputs are
# at most 2 KiB each. A crash leaves its input in BUILD_DIR/fuzz/artifacts and the script fails.
set -euo pipefail

if (($# != 2)); then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$1
seconds=$2
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The fuzz target sits under tests/, which the project adds only with VARNOTH_TESTS on.
cmake -S "$source_dir" -B "$build" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNOTH_FUZZ=ON -DVARNOTH_TESTS=ON -DVARNOTH_BENCH=OFF -DVARNOTH_WERROR=ON
cmake --build "$build" --target registry_fuzz -j2

corpus=$build/fuzz/registry-corpus
artifacts=$build/fuzz/artifacts
mkdir -p "$corpus" "$artifacts"
"$build/tests/registry/fuzz/registry_fuzz" \
    -max_total_time="$seconds" -max_len=2048 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus"
