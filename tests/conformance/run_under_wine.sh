#!/usr/bin/env bash
# Cross-builds the store library and its conformance program for Windows with MinGW-w64 and
# runs the program under Wine: no display, no network, a private Wine prefix made once in the
# build folder. The program is started from a folder with a non-ASCII name.
#
#   run_under_wine.sh SOURCE_DIR WORK_DIR WINE64 [NINJA]
set -euo pipefail

source_dir=$(realpath "$1")
work_dir=$(realpath -m "$2")
wine=$3
ninja=${4:-ninja}
build=$work_dir/build
prefix=$work_dir/prefix
program_dir="$work_dir/Programm-日本"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
elapsed() { local ms=$(($(now_ms) - $1)); printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100)); }
# The path as Wine's Z: drive shows the whole POSIX file system.
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

started=$(now_ms)
if [[ ! -f $build/build.ninja ]]; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$source_dir/tests/conformance/windows" -B "$build" -G Ninja \
        -DCMAKE_MAKE_PROGRAM="$ninja" -DCMAKE_CXX_FLAGS=-O1 \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/MinGWw64Toolchain.cmake" "${launcher[@]}"
fi
cmake --build "$build"
echo "cross build: $(elapsed "$started")"

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME=${HOME:-$work_dir}
unset DISPLAY WAYLAND_DISPLAY
wineserver="$(dirname "$wine")/wineserver"
[[ -x $wineserver ]] || wineserver=wineserver
trap '"$wineserver" -k 2>/dev/null || true' EXIT

started=$(now_ms)
if [[ ! -f $prefix/.made ]]; then
    rm -rf "$prefix"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
    touch "$prefix/.made"
    echo "Wine prefix made: $(elapsed "$started")"
fi

started=$(now_ms)
mkdir -p "$program_dir"
cp "$build/inistore_conformance.exe" "$program_dir/"
"$wine" "$program_dir/inistore_conformance.exe" \
    "$(windows_path "$source_dir/tests/data/vectors")" \
    "$(windows_path "$work_dir/run")" \
    "$(windows_path "$program_dir")"
echo "run under Wine: $(elapsed "$started")"
