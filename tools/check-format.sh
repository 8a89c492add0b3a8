#!/usr/bin/env bash
# Checks that every tracked C++ file follows .clang-format; names each file that does not.
# `tools/check-format.sh --fix` reformats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
fi
