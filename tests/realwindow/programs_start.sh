#!/usr/bin/env bash
# Both real programs on a real X server: full screen at their default size, a window titled
# "Hemorune", close ends with 0, Enter then Escape ends with 1, a display that cannot take the
# mode gets "Program Will Now Close." and status 1.
set -u
RUN_DIR=$1
TOOLS_DIR=$2
source "$(dirname "$0")/lib/xtest.bash"

check_program() {
    local program=$1 size=$2
    local width=${size%x*} height=${size#*x}

    start_x "$size"
    start_program "$program"
    local window
    window=$(find_window Hemorune) || fail "$program: no window titled Hemorune"
    wait_first_frame
    local geometry
    geometry=$(window_geometry "$window")
    [ "$geometry" = "0 0 $width $height" ] || fail "$program: window geometry '$geometry'"
    "$TOOLS_DIR/send-close" "$window"
    wait_program_status
    [ "$PROGRAM_STATUS" = "0" ] || fail "$program: close in the menu ended with '$PROGRAM_STATUS'"

    start_program "$program"
    window=$(find_window Hemorune) || fail "$program: no window on the second start"
    wait_first_frame
    hold Return 0.5
    xdotool keydown Escape
    wait_program_status
    [ "$PROGRAM_STATUS" = "1" ] || fail "$program: Escape in play ended with '$PROGRAM_STATUS'"
    stop_all
    echo "ok: $program at $size"
}

check_refused_mode() {
    local program=$1 size=$2
    start_x "$size"
    local before
    before=$(top_level_windows | sort)
    start_program "$program"
    local box
    box=$(new_top_level_window "$before") || fail "$program: no message box on a $size screen"
    sleep 0.5
    window_caption "$box" | grep -q '"ERROR"' || fail "$program: box is not ERROR: $(window_caption "$box")"
    xdotool search --name '^Hemorune$' >/dev/null 2>&1 && fail "$program: a game window exists"
    dismiss_box "$box"
    wait_program_status
    [ "$PROGRAM_STATUS" = "1" ] || fail "$program: refused mode ended with '$PROGRAM_STATUS'"
    stop_all
    echo "ok: $program refuses a $size screen"
}

check_program hemorune 800x600
check_program hemorune-wide 1280x800
check_refused_mode hemorune-wide 640x480
