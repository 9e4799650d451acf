#!/usr/bin/env bash
# Frame intervals of the real program during play, against the 16 ms frame pacing.
#
# Run:   bash bench/measure_frames.sh [BUILD_DIR] [SECONDS] [PROGRAM SIZE]
#        (defaults: build, 60, hemorune 800x600). Needs the programs, the run data and
#        send-close built: cmake --build build -j2 --target hemorune hemorune-wide run-data send-close
#
# Starts the program under its own Xvfb with HEMORUNE_FRAME_LOG set (the program keeps the moment
# of every presented frame in memory and writes them when it ends), holds Enter on Play, then plays
# for SECONDS with keys held across frames: fire (Ctrl) all the time, Left and Right in turn,
# Shift now and then to reload. Then it closes the window twice (back to the menu, then the end)
# and prints the distribution of the intervals between presented frames during play: median, 99th
# percentile, worst, and how many miss 16 ms by more than 1 ms. The aim: the 99th percentile within
# 1 ms of 16 ms. The menu frames before Play are shown on a line of their own. Last, the intervals
# between the ends of the pacing sleeps, which are the frame starts: the pace itself, apart from
# the drawing time's change from frame to frame that the swap intervals also carry.
# Sound runs on OpenAL Soft's null output unless ALSOFT_DRIVERS is set, as in the tests.
set -u
BUILD_DIR=$(cd "${1:-build}" && pwd)
SECONDS_OF_PLAY=${2:-60}
PROGRAM=${3:-hemorune}
SIZE=${4:-800x600}
RUN_DIR=$BUILD_DIR/run
TOOLS_DIR=$BUILD_DIR/tools
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
source "$(dirname "$0")/../tests/realwindow/lib/xtest.bash"

for needed in "$RUN_DIR/$PROGRAM" "$TOOLS_DIR/send-close"; do
    [ -x "$needed" ] || fail "missing $needed (build it first)"
done

# The program's frame stamps come from CLOCK_MONOTONIC; so do these.
monotonic_us() {
    python3 -c 'import time; print(int(time.monotonic() * 1e6))'
}

FRAME_LOG=$WORK_DIR/frames.log
REPORT=$WORK_DIR/startup.report
start_x "$SIZE"
(cd "$RUN_DIR" && HEMORUNE_FRAME_LOG="$FRAME_LOG" HEMORUNE_STARTUP_REPORT="$REPORT" \
    exec setsid "./$PROGRAM") >"$WORK_DIR/program.log" 2>&1 &
PROGRAM_PID=$!
window=$(find_window Hemorune) || fail "$PROGRAM: no window"
# The start-up report is written when the first menu frame has been presented.
for _ in $(seq 600); do
    [ -s "$REPORT" ] && break
    sleep 0.05
done
[ -s "$REPORT" ] || fail "$PROGRAM: no first frame"
sleep 1

hold Return 0.5
play_start=$(monotonic_us)
xdotool keydown ctrl
end=$((SECONDS + SECONDS_OF_PLAY))
side=Left
while [ "$SECONDS" -lt "$end" ]; do
    hold "$side" 1.5
    [ "$side" = Left ] && side=Right || side=Left
    hold shift 0.3
done
xdotool keyup ctrl
play_end=$(monotonic_us)

"$TOOLS_DIR/send-close" "$window" # during play: back to the menu
sleep 1
"$TOOLS_DIR/send-close" "$window" # in the menu: the end, which writes the frame log
wait_program_status
[ "$PROGRAM_STATUS" = "0" ] || fail "$PROGRAM: close ended with '$PROGRAM_STATUS'"
[ -s "$FRAME_LOG" ] || fail "$PROGRAM: no frame log"

python3 - "$FRAME_LOG" "$play_start" "$play_end" "$PROGRAM" "$SIZE" <<'PYTHON'
import sys

log, play_start, play_end, program, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
# swap time (us), then the pacing sleep before it: asked (ms), slept (us)
frames = [tuple(int(field) for field in line.split()) for line in open(log) if line.strip()]


def percentile(values, p):
    ordered = sorted(values)
    rank = max(0, min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1)))))
    return ordered[rank]


def stats(values):
    return (f"{percentile(values, 50):7.2f} {percentile(values, 99):7.2f} {max(values):8.2f} "
            f"{min(values):7.2f}")


def select(first, last):
    chosen = [f for f in frames if first <= f[0] <= last]
    # each interval with the sleep that belongs to it (recorded with the later swap)
    return [((b[0] - a[0]) / 1000.0, b[1], b[2] / 1000.0) for a, b in zip(chosen, chosen[1:])]


def row(name, intervals):
    gaps = [i[0] for i in intervals]
    if not gaps:
        print(f"  {name:<18} no frames")
        return
    late = sum(1 for g in gaps if g > 17.0)
    early = sum(1 for g in gaps if g < 15.0)
    mean = sum(gaps) / len(gaps)
    print(f"  {name:<18} {len(gaps):6d} {1000.0 / mean:6.1f} {stats(gaps)} "
          f"{100.0 * late / len(gaps):7.2f}% {100.0 * early / len(gaps):6.2f}%")


print(f"frame intervals of {program} at {size} under Xvfb, ms between presented frames")
print(f"  {'':<18} {'frames':>6} {'fps':>6} {'median':>7} {'p99':>7} {'worst':>8} {'best':>7} "
      f"{'>17 ms':>8} {'<15 ms':>7}")
row("menu before Play", select(frames[0][0], play_start))
play = select(play_start, play_end)
row("play", play)
if play:
    gaps = [i[0] for i in play]
    work = [i[0] - i[2] for i in play]
    slept = [i for i in play if i[1] > 0]
    overshoot = [i[2] - i[1] for i in slept]
    print(f"\n  play, split            {'median':>7} {'p99':>7} {'worst':>8} {'best':>7}")
    print(f"  work (interval-sleep)  {stats(work)}   pump, game frame, drawing, swap")
    if overshoot:
        print(f"  sleep overshoot        {stats(overshoot)}   slept minus asked")
    print(f"  frames without a sleep (work of 16 ms or more): "
          f"{100.0 * (len(play) - len(slept)) / len(play):.1f}%")
    print("\n  play intervals:")
    edges = [0, 15, 16, 17, 18, 20, 25, 33, 50, 10**9]
    for low, high in zip(edges, edges[1:]):
        count = sum(1 for g in gaps if low <= g < high)
        share = 100.0 * count / len(gaps)
        label = f">= {low} ms" if high == 10**9 else f"{low}-{high} ms"
        print(f"    {label:>10} {count:6d} {share:6.2f}% {'#' * int(round(share / 2))}")
    p99 = percentile(gaps, 99)
    verdict = "met" if abs(p99 - 16.0) <= 1.0 else "NOT met"
    print(f"  aim (99th percentile within 1 ms of 16 ms): {verdict}, p99 = {p99:.2f} ms")
    # The swap comes after the frame's drawing, so a swap interval also carries the change in
    # drawing time from one frame to the next; the moments the pacing sleep ends are the pace.
    chosen = [f for f in frames if play_start <= f[0] <= play_end]
    wakes = [a[0] + b[2] for a, b in zip(chosen, chosen[1:])]
    paced = [(b - a) / 1000.0 for a, b in zip(wakes, wakes[1:])]
    if paced:
        print(f"\n  frame starts (end of the pacing sleep) {'median':>7} {'p99':>7} {'worst':>8} "
              f"{'best':>7}")
        print(f"  {'':<38} {stats(paced)}")
PYTHON
