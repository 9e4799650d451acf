#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: unit and headless loop tests, the real-window
# tests under Xvfb, the fuzzers for a bounded number of runs, then the same suite once more
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$here/scripts/setup.sh"

# No desktop and no sound card are assumed: GL tests get a virtual X server, OpenAL the null output.
export ALSOFT_DRIVERS=null
export SDL_AUDIODRIVER=dummy

run_suite() {
    local dir=$1
    shift
    cmake -S "$here" -B "$dir" "$@"
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure -j"$jobs" --timeout 600 -LE long)
}

run_suite "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -f "$here/fuzz/run.sh" ]; then
    bash "$here/fuzz/run.sh" "$here/build-fuzz"
fi

ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DHEMORUNE_SANITIZE=ON -DHEMORUNE_BENCH=OFF
echo "All Hemorune tests passed."
