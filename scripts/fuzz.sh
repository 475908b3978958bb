#!/usr/bin/env bash
# A long fuzzing campaign of one libFuzzer target:
#
#   scripts/fuzz.sh TARGET SECONDS [WORK]
#
# TARGET is a fuzz target of fuzz/ (inistore_fuzz, tokenizer_fuzz); it runs SECONDS seconds
# from a seed taken from the clock. The working corpus lives outside the repository, in WORK
# (by default ${XDG_CACHE_HOME:-~/.cache}/quillbox-fuzz/TARGET), and grows from one campaign
# to the next; the committed corpus fuzz/corpus/TARGET and the inputs that once failed,
# fuzz/regressions/TARGET, are read as well. The fuzzer stops at the first failing input and
# leaves it in WORK/artifacts: once fixed, keep it in fuzz/regressions/TARGET, so that the
# test run tries it every time. Exits 0 when nothing failed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 2 || $# -gt 3 || ! $2 =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh TARGET SECONDS [WORK]" >&2
    exit 2
fi
target=$1
seconds=$2
work=${3:-${XDG_CACHE_HOME:-$HOME/.cache}/quillbox-fuzz/$target}
if [[ ! -d fuzz/corpus/$target ]]; then
    echo "scripts/fuzz.sh: no fuzz target $target (no folder fuzz/corpus/$target)" >&2
    exit 2
fi

build_dir=${QUILLBOX_BUILD_DIR:-build}
if [[ ! -f "$build_dir/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --target "$target"

mkdir -p "$work/corpus" "$work/artifacts"
inputs=("$work/corpus" "fuzz/corpus/$target")
if [[ -d fuzz/regressions/$target ]]; then
    inputs+=("fuzz/regressions/$target")
fi
log="$work/campaign-$(date +%Y%m%d-%H%M%S).log"
echo "scripts/fuzz.sh: $target for $seconds s, corpus in $work/corpus, log in $log"

status=0
"$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "${inputs[@]}" 2>&1 |
    tee "$log" || status=$?

echo "scripts/fuzz.sh: $target $(grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" | tr '\n' ' ')"
echo "scripts/fuzz.sh: $(find "$work/corpus" -type f | wc -l) inputs in the working corpus"
if [[ $status -ne 0 ]]; then
    echo "scripts/fuzz.sh: $target failed; the failing input is in $work/artifacts:" >&2
    ls -t "$work/artifacts" >&2
fi
exit "$status"
