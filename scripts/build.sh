#!/usr/bin/env bash
# Configures (once) and builds Quillbox with its tests, benchmarks and fuzz targets in build/.
# clang is used so that the libFuzzer targets come out of the same build.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${QUILLBOX_BUILD_DIR:-build}
if [[ ! -f "$build_dir/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --parallel "$(nproc)"
