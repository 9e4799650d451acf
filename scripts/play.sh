#!/usr/bin/env bash
# Sets up, builds and starts the main build from its run directory.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$here/build" -j"$(nproc)" --target hemorune hemorune-wide run-data
cd "$here/build/run"
exec ./hemorune
