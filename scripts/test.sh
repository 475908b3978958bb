#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Quillbox and runs the whole test suite: unit and
# widget tests on the offscreen platform, the end-to-end tests under Xvfb, and a short fuzz run.
# Then the store's tests and the pure-logic tests run once more, built with AddressSanitizer
# and UndefinedBehaviorSanitizer in a folder of their own (cmake/QuillboxSanitize.cmake); any
# report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir "${QUILLBOX_BUILD_DIR:-build}" --output-on-failure --timeout 900

asan_dir=${QUILLBOX_ASAN_DIR:-build-asan}
if [[ ! -f "$asan_dir/build.ninja" ]]; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    CC=clang CXX=clang++ cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DQUILLBOX_SANITIZE=ON "${launcher[@]}"
fi
cmake --build "$asan_dir" --target quillbox_sanitize_tests --parallel "$(nproc)"
ctest --test-dir "$asan_dir" --output-on-failure --timeout 900
