#!/usr/bin/env bash
# The front end as a player meets it, in hemorune at 800 x 600 from a fresh run directory: the
# menu with its title picture and music, the highlight moving, the settings screen taking a name,
# the help, credits and high-score screens, and a window close in the menu ending with status 0.
set -u
RUN_DIR=$1
TOOLS_DIR=$2
source "$(dirname "$0")/lib/xtest.bash"

use_fresh_run_dir
start_x 800x600
make_menu_pictures
start_recorded_program hemorune
window=$(find_window Hemorune) || fail "no window titled Hemorune"
wait_first_frame
music_from=$(sound_mark)

expect_menu 0 "start-up"
keep_screenshot "$MENU_SHOT" menu
read -r state title <<<"$(menu_state "$MENU_SHOT")"
echo "ok: start-up shows the main menu: title region RMSE $title to IMGS/back.png, buttons $state (Play highlighted)"

wait_sound_until "$music_from+2"
level=$(sound_level rms "$music_from" "$music_from+2")
is_above "$level" 0.02 || fail "no menu music: RMS $level in the first 2 s of the menu"
echo "ok: menu music RMS $level in the first 2 s of the menu"

key Down
expect_menu 1 "Down"
key Down
expect_menu 2 "second Down"
key Up Up
expect_menu 0 "two Ups"
key Up
expect_menu 5 "Up on Play"
key Down
expect_menu 0 "Down on Exit"
echo "ok: Down and Up move the highlight (Play, Settings, Help, back to Play; Up on Play wraps to Exit, Down on Exit to Play)"

enter_player_name "ACCEPT TEST" settings

# The help and credits screens: the first lines of their files, a line every 0.3 units, over the
# bare menu background.
expected_screen "$WORK_DIR/background.png" "IMGS/back.png:0:0:-2.5:13.8:10.4"
check_text_screen() {
    local entry=$1 what=$2 x=$3 y=$4 size=$5 file=$6 first_lines
    local downs=()
    for ((i = 0; i < entry; i++)); do
        downs+=(Down)
    done
    first_lines=$(head -n 3 "$RUN_DIR/$file")
    key "${downs[@]}" Return
    wait_text "$x" "$y" "$size" "$first_lines" 20 0.3 ||
        fail "$what: the first lines of $file are not on the screen (match $TEXT_SCORE)"
    local change
    change=$(region_rmse "$TEXT_SHOT" "$WORK_DIR/background.png" "${SCREEN_W}x${SCREEN_H}+0+0")
    is_above "$change" 0.03 || fail "$what: the screen is the bare background (RMSE $change)"
    key Return
    expect_menu 0 "Enter on $what"
    echo "ok: $what shows the first three lines of $file (text match $TEXT_SCORE, screen RMSE $change to the bare background); Enter returns with Play highlighted"
}
check_text_screen 2 Help -4.0 1.8 5 help.txt
check_text_screen 4 Credits -3.7 1.7 10 credits.txt

key Down Down Down Return
wait_text -3.7 1.5 30 "NO HIGHSCORE DATA" 20 ||
    fail "High scores on a fresh run directory: no 'NO HIGHSCORE DATA' (match $TEXT_SCORE)"
other=$(text_score "$TEXT_SHOT" -3.7 1.5 30 "01 Unknown       0")
is_above "$other" 0.6 && fail "the text check cannot tell a table line from 'NO HIGHSCORE DATA' ($other)"
echo "ok: High scores shows 'NO HIGHSCORE DATA' on a fresh run directory (text match $TEXT_SCORE; a table line would match $other)"
key Return
expect_menu 0 "Enter on High scores"

"$TOOLS_DIR/send-close" "$window"
wait_program_status
[ "$PROGRAM_STATUS" = "0" ] || fail "a window close in the menu ended with '$PROGRAM_STATUS'"
echo "ok: a window close in the menu ends the program with status 0"
