#!/usr/bin/env bash
# Checks that every tracked C++ file follows the one style: .clang-format, and the brace rule
# of tools/brace-rule.py. Names each place that does not.
# `tools/check-format.sh --fix` puts them right instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
    python3 tools/brace-rule.py --fix "${files[@]}"
    clang-format -i "${files[@]}"
else
    python3 tools/brace-rule.py "${files[@]}"
    clang-format --dry-run --Werror "${files[@]}"
fi
