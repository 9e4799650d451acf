# Shared steps of the real-window tests: a private Xvfb of a given size, the program started in
# its own process group (SDL shows message boxes from a forked child), windows found and closed.
# Usage: source this file with RUN_DIR and TOOLS_DIR set.

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK_DIR/program.log" ]; then
        echo "--- program output:" >&2
        cat "$WORK_DIR/program.log" >&2
    fi
    echo "--- display $DISPLAY windows:" >&2
    xwininfo -root -tree 2>&1 | head -20 >&2
    if [ -n "$PROGRAM_PID" ]; then
        ps -o pid,stat,cmd -g "$PROGRAM_PID" >&2
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            local status=0
            wait "$PROGRAM_PID" || status=$?
            echo "--- the program had ended with status $status" >&2
        fi
    fi
    exit 1
}

WORK_DIR=$(mktemp -d)
XVFB_PID=""
PROGRAM_PID=""

stop_all() {
    if [ -n "$PROGRAM_PID" ]; then
        kill -- -"$PROGRAM_PID" 2>/dev/null || true
        wait "$PROGRAM_PID" 2>/dev/null || true
        PROGRAM_PID=""
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

cleanup() {
    stop_all
    rm -rf "$WORK_DIR"
}
trap cleanup EXIT

# start_x WIDTHxHEIGHT: a fresh X server; it picks a free display number itself, so tests that
# run beside other X servers never talk to the wrong one.
start_x() {
    local size=$1
    local number_file="$WORK_DIR/display.$$"
    rm -f "$number_file"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        if [ -s "$number_file" ]; then
            export DISPLAY=":$(head -n 1 "$number_file")"
            if xdpyinfo >/dev/null 2>&1; then
                sleep 0.5 # let the server finish its start before a program asks for modes
                return 0
            fi
        fi
        sleep 0.1
    done
    fail "Xvfb did not start"
}

# start_program NAME: runs RUN_DIR/NAME in RUN_DIR, in its own process group.
start_program() {
    (cd "$RUN_DIR" && exec setsid "./$1") >"$WORK_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# wait_program_status: waits (up to 20 s) for the program to end and sets PROGRAM_STATUS to its
# exit status ("timeout" if it did not end). Not to be called in a subshell: only this shell can
# wait for its child.
wait_program_status() {
    PROGRAM_STATUS="timeout"
    for _ in $(seq 200); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            PROGRAM_STATUS=0
            wait "$PROGRAM_PID" || PROGRAM_STATUS=$?
            PROGRAM_PID=""
            return 0
        fi
        sleep 0.1
    done
}

# find_window TITLE: the id of the first window with exactly this name (waits up to 20 s).
find_window() {
    local id=""
    for _ in $(seq 300); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# top_level_windows: ids of the root's mapped children (message boxes included, whose UTF-8
# names xdotool cannot read).
top_level_windows() {
    xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'
}

# window_geometry ID: "X Y WIDTH HEIGHT"
window_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# wait_first_frame: waits (up to 60 s) until the screen is no longer black, that is until the
# program has loaded its assets and shown a frame.
wait_first_frame() {
    local mean
    for _ in $(seq 120); do
        mean=$(/usr/bin/import -window root png:- 2>/dev/null |
            /usr/bin/convert png:- -format '%[fx:mean]' info: 2>/dev/null)
        case "$mean" in
            "" | 0) sleep 0.5 ;;
            *) return 0 ;;
        esac
    done
    fail "no frame was drawn"
}

# hold KEY SECONDS: a key held down across several frames. The game reads key states between
# frames, so a press released within one pump would never be seen.
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
    sleep 0.2
}

# press KEY...: real key events to the focused window.
press() {
    local key
    for key in "$@"; do
        xdotool key --delay 60 "$key"
        sleep 0.15
    done
}


# dismiss_box ID: presses Return on a message box (the pointer over it gives it the keyboard).
dismiss_box() {
    xdotool mousemove --window "$1" 20 20 2>/dev/null || true
    sleep 0.3
    xdotool key Return
}

# new_top_level_window BEFORE: the first mapped child of the root not listed in BEFORE (waits 20 s).
new_top_level_window() {
    local found=""
    for _ in $(seq 200); do
        found=$(comm -13 <(echo "$1") <(top_level_windows | sort) | head -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}

# window_caption ID: the title line xwininfo prints (readable also for UTF-8 names).
window_caption() {
    xwininfo -root -children | awk -v id="$1" '$1 == id'
}
