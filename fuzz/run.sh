#!/usr/bin/env bash
# Builds the decoder fuzzers (libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, clang)
# in BUILD_DIR and runs each one for a bounded number of inputs (the inflate decoder also against
# its bit-at-a-time reference), seeded with the PngSuite and with
# zlib streams of every kind. Any crash, sanitizer report or failed check fails the script.
#   fuzz/run.sh BUILD_DIR            HEMORUNE_FUZZ_RUNS (default 200000) inputs per target,
#                                    HEMORUNE_FUZZ_SECONDS (default 240) at most per target
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: fuzz/run.sh BUILD_DIR}
runs=${HEMORUNE_FUZZ_RUNS:-200000}
cxx=${HEMORUNE_FUZZ_CXX:-clang++-14}

suite=${HEMORUNE_PNGSUITE:-}
if [ -z "$suite" ]; then
    if [ -d "$here/../shared/pngsuite" ]; then
        suite="$here/../shared/pngsuite"
    else
        suite=/work/shared/pngsuite
    fi
fi

mkdir -p "$build/seeds/inflate" "$build/seeds/png" "$build/corpus/inflate" "$build/corpus/png" \
    "$build/corpus/inflate_diff" "$build/artifacts"
flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=all -I"$here/src")
for target in inflate png; do
    "$cxx" "${flags[@]}" "$here/fuzz/${target}_fuzzer.cpp" "$here/src/media/inflate.cpp" \
        "$here/src/media/inflate_tables.cpp" "$here/src/media/png.cpp" \
        "$here/src/media/png_rows.cpp" -o "$build/${target}_fuzzer"
done
# The table-driven inflate against the bit-at-a-time reference kept in the tests.
"$cxx" "${flags[@]}" -I"$here/tests/media" "$here/fuzz/inflate_diff_fuzzer.cpp" \
    "$here/src/media/inflate.cpp" "$here/src/media/inflate_tables.cpp" \
    "$here/tests/media/reference_inflate.cpp" \
    -o "$build/inflate_diff_fuzzer"
"$cxx" -std=c++20 -O1 "$here/fuzz/make_seeds.cpp" -lz -o "$build/make_seeds"
"$build/make_seeds" "$build/seeds/inflate"
cp "$suite"/*.png "$build/seeds/png/"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The wall-time bound keeps a loaded machine from stretching the run; on an idle one the input
# count ends it first.
common=(-runs="$runs" -max_total_time="${HEMORUNE_FUZZ_SECONDS:-240}" -timeout=20
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/")
echo "fuzz: inflate, $runs runs"
"$build/inflate_fuzzer" "${common[@]}" -max_len=4096 "$build/corpus/inflate" "$build/seeds/inflate"
echo "fuzz: inflate against the reference, $runs runs"
"$build/inflate_diff_fuzzer" "${common[@]}" -max_len=4096 "$build/corpus/inflate_diff" \
    "$build/seeds/inflate"
echo "fuzz: png, $runs runs"
"$build/png_fuzzer" "${common[@]}" -max_len=8192 -dict="$here/fuzz/png.dict" \
    "$build/corpus/png" "$build/seeds/png"
echo "fuzz: no findings"
