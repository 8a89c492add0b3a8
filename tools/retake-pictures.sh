#!/usr/bin/env bash
# Takes the window's reference pictures again, after a deliberate change of how it looks:
# builds the window tests in BUILD_DIR (default build), runs the picture test in retake mode,
# which writes tests/window/pictures/*.png, and shows what git sees changed. Look at every
# changed picture before committing it.
#   tools/retake-pictures.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target window_tests
for scale in 1 1.5 2; do
    VARNOTH_RETAKE_PICTURES=1 QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        "$build_dir/tests/window/window_tests" --gtest_filter='ReferencePicture.*'
done
git status --short tests/window/pictures
