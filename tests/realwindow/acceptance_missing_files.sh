#!/usr/bin/env bash
# hemorune from run directories with a file missing, as a player would meet them: without a
# picture of play the "szarügy" box and status 1; without a sound the "Cannot load this file" box
# naming it and status 1; without "help.txt" the game still starts and Help is a blank screen.
set -u
RUN_DIR=$1
TOOLS_DIR=$2
source "$(dirname "$0")/lib/xtest.bash"

use_fresh_run_dir
full_run_dir=$RUN_DIR
start_x 800x600

# run_without FILE: a copy of the run directory without FILE, used for the next start.
run_without() {
    local copy="$WORK_DIR/without_${1//\//_}"
    rm -rf "$copy"
    cp -r "$full_run_dir" "$copy" && rm "$copy/$1" || fail "cannot make a run directory without $1"
    RUN_DIR=$copy
}

# box_name ID: the message box's title as the X server holds it (UTF-8).
box_name() {
    xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p'
}

# expect_load_failure FILE CAPTION: the program shows a box titled CAPTION, and ends with status 1
# once it is dismissed.
expect_load_failure() {
    local file=$1 caption=$2
    run_without "$file"
    local before box title
    before=$(top_level_windows | sort)
    start_program hemorune
    box=$(new_top_level_window "$before") || fail "without $file: no window at all"
    # The game's own window comes first; the box is the next one.
    for _ in $(seq 300); do
        for box in $(comm -13 <(echo "$before") <(top_level_windows | sort)); do
            title=$(box_name "$box")
            [ "$title" = "$caption" ] && break 2
        done
        sleep 0.2
    done
    [ "$title" = "$caption" ] || fail "without $file: no box titled '$caption' (windows: $(top_level_windows | tr '\n' ' '))"
    local said
    said=$(grep -F "$caption:" "$WORK_DIR/program.log" | head -n 1)
    dismiss_box "$box"
    wait_program_status
    [ "$PROGRAM_STATUS" = "1" ] || fail "without $file: the program ended with '$PROGRAM_STATUS'"
    echo "ok: without $file the program shows a box titled '$caption' (its text, as logged: '${said#*: }') and ends with status 1"
}

expect_load_failure qor_fver2.png "szarügy"
expect_load_failure pig.wav "Cannot load this file"

run_without help.txt
make_menu_pictures
expected_screen "$WORK_DIR/background.png" "IMGS/back.png:0:0:-2.5:13.8:10.4"
start_program hemorune
window=$(find_window Hemorune) || fail "without help.txt: no window"
wait_first_frame
expect_menu 0 "start-up without help.txt"
key Down Down Return
blank=1
for _ in $(seq 10); do
    shot=$(screenshot blank_help)
    blank=$(region_rmse "$shot" "$WORK_DIR/background.png" "${SCREEN_W}x${SCREEN_H}+0+0")
    is_above 0.05 "$blank" && break
    sleep 0.5
done
is_above 0.05 "$blank" || fail "without help.txt the help screen is not blank (RMSE $blank to the bare background)"
key Return
expect_menu 0 "Enter on the blank help screen"
"$TOOLS_DIR/send-close" "$window"
wait_program_status
[ "$PROGRAM_STATUS" = "0" ] || fail "without help.txt a close in the menu ended with '$PROGRAM_STATUS'"
echo "ok: without help.txt the game starts, Help shows the bare background (RMSE $blank), Enter returns, a close ends with status 0"
