#!/usr/bin/env bash
# Start-up of both real programs, from the program's start to its first presented menu frame.
#
# Run:   bash bench/measure_startup.sh [BUILD_DIR] [RUNS]
#        (defaults: build, 5). Needs the programs, the run data and send-close built:
#        cmake --build build -j2 --target hemorune hemorune-wide run-data send-close
#
# Each program runs RUNS times under its own Xvfb (hemorune 800x600, hemorune-wide 1280x800) with
# HEMORUNE_STARTUP_REPORT set; the program writes one line per phase when its first menu frame has
# been presented, and the script then closes its window. Printed: the median of every phase over
# the runs, the total, the time from launching the process to the first frame (this also covers
# exec and dynamic linking, which the program cannot see), and the picture decode's share of the
# total (aim: at most 25 %). Last, every file the start-up loaded more than once.
# Sound runs on OpenAL Soft's null output unless ALSOFT_DRIVERS is set, as in the tests.
set -u
BUILD_DIR=$(cd "${1:-build}" && pwd)
RUNS=${2:-5}
RUN_DIR=$BUILD_DIR/run
TOOLS_DIR=$BUILD_DIR/tools
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
source "$(dirname "$0")/../tests/realwindow/lib/xtest.bash"

for needed in "$RUN_DIR/hemorune" "$RUN_DIR/hemorune-wide" "$TOOLS_DIR/send-close"; do
    [ -x "$needed" ] || fail "missing $needed (build it first)"
done

PHASES="before_main text_files window_and_context sound_init picture_read picture_decode
texture_upload sound_load loading_rest first_menu_frame"

# one_run PROGRAM REPORT: starts the program with the report on, waits for the report, closes it.
one_run() {
    local program=$1 report=$2
    rm -f "$report"
    local launched
    launched=$(date +%s%6N)
    (cd "$RUN_DIR" && HEMORUNE_STARTUP_REPORT="$report" exec setsid "./$program") \
        >"$WORK_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
    for _ in $(seq 600); do
        grep -q '^first_frame_wall_clock_us' "$report" 2>/dev/null && break
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$program ended before its first frame"
        sleep 0.05
    done
    grep -q '^first_frame_wall_clock_us' "$report" 2>/dev/null || fail "$program: no report"
    echo "launched_us $launched" >>"$report"
    local window
    window=$(find_window Hemorune) || fail "$program: no window"
    "$TOOLS_DIR/send-close" "$window"
    wait_program_status
    [ "$PROGRAM_STATUS" = "0" ] || fail "$program: close ended with '$PROGRAM_STATUS'"
}

# median of the numbers on stdin
median() {
    sort -g | awk '{v[NR] = $1} END {
        if (NR == 0) { print "-"; exit }
        if (NR % 2) printf "%.1f", v[(NR + 1) / 2]; else printf "%.1f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# table PROGRAM REPORTS...: the medians of the phases over the reports.
table() {
    local program=$1
    shift
    printf '\n%s: %d runs, median ms (total: program start to the first presented menu frame)\n' "$program" "$#"
    printf '  %-22s %10s %7s\n' phase ms share
    local total
    total=$(for r in "$@"; do awk '$1 == "total" {print $2}' "$r"; done | median)
    local phase value
    for phase in $PHASES; do
        value=$(for r in "$@"; do awk -v p="$phase" '$1 == "phase" && $2 == p {print $3}' "$r"; done | median)
        printf '  %-22s %10s %6.1f%%\n' "$phase" "$value" "$(awk -v v="$value" -v t="$total" 'BEGIN {print (t > 0) ? 100 * v / t : 0}')"
    done
    printf '  %-22s %10s\n' "total" "$total"
    local external
    external=$(for r in "$@"; do
        awk '$1 == "first_frame_wall_clock_us" {f = $2} $1 == "launched_us" {l = $2}
             END {printf "%.3f\n", (f - l) / 1000}' "$r"
    done | median)
    printf '  %-22s %10s   (from the launch, so exec and linking included)\n' "launched to 1st frame" "$external"
    local decode_share
    decode_share=$(for r in "$@"; do
        awk '$1 == "phase" && $2 == "picture_decode" {d = $3} $1 == "total" {t = $2}
             END {printf "%.2f\n", 100 * d / t}' "$r"
    done | median)
    printf '  picture decode share of the total: %s%% (aim: <= 25%%)\n' "$decode_share"
    echo "  loaded more than once (file: loads):"
    awk '$1 == "load" && $3 > 1 {printf "    %s: %d\n", $2, $3; n++}
         END {if (n == 0) print "    none"}' "$1"
}

measure() {
    local program=$1 size=$2
    start_x "$size"
    local reports=()
    for run in $(seq "$RUNS"); do
        one_run "$program" "$WORK_DIR/$program.$run.report"
        reports+=("$WORK_DIR/$program.$run.report")
    done
    stop_all
    table "$program at $size" "${reports[@]}"
}

echo "start-up of the real programs under Xvfb (ALSOFT_DRIVERS=$ALSOFT_DRIVERS), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure hemorune 800x600
measure hemorune-wide 1280x800
