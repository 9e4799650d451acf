#!/usr/bin/env bash
# A game of hemorune at 800 x 600 as a player plays it: the countdown and level 1's title, Shift
# reloading, Ctrl firing (heard in the recorded sound, seen on the virus), the F1 frame-rate box,
# a window close that pauses the game in the menu and Play that resumes it, and Escape ending the
# program with status 1 and no high score.
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
expect_menu 0 "start-up"

played=$(now)
key Return
wait_text -1.25 0.0 30 "Prepare!!!" 10 || fail "no 'Prepare!!!' countdown after Play (match $TEXT_SCORE)"
echo "ok: Play starts the countdown: 'Prepare!!!' seen $(since "$played") s after Play (text match $TEXT_SCORE)"
for _ in $(seq 60); do
    # The screenshot shows a frame drawn between these two times (give or take a frame).
    shot_from=$(since "$played")
    shot=$(screenshot level1)
    shot_to=$(since "$played")
    title=$(text_score "$shot" -1.5 0.0 30 "Easy way boy")
    is_above "$title" "$TEXT_MATCH" && break
done
is_above "$title" "$TEXT_MATCH" || fail "no 'Easy way boy' title within $(since "$played") s of Play"
# Five seconds of countdown, then the title from 3 to 8 s into level 1.
is_above "$shot_to" 7.9 && is_above 13.5 "$shot_from" ||
    fail "'Easy way boy' seen in a screenshot of $shot_from to $shot_to s after Play, outside 8 to 13 s"
echo "ok: level 1's 'Easy way boy' seen in a screenshot taken $shot_from to $shot_to s after Play (text match $title)"

wait_text -1.0 2.0 20 "Press SHIFT" 15 || fail "no 'Press SHIFT' with an empty gun (match $TEXT_SCORE)"
before=$TEXT_SCORE
reload_mark=$(sound_mark)
key Shift_L
worst=0
for _ in 1 2 3; do
    left=$(text_score "$(screenshot reloaded)" -1.0 2.0 20 "Press SHIFT")
    is_above "$left" "$worst" && worst=$left
done
is_above 0.5 "$worst" || fail "'Press SHIFT' still shown after Shift (match $worst)"
echo "ok: Shift reloads: 'Press SHIFT' (match $before) gone after it (best match in 3 screenshots $worst)"

# Ctrl: the firing sound over the level music, and the muzzle flash on the virus.
wait_sound_until "$reload_mark+2"
rest_flash=$(muzzle_flash "$(screenshot resting)")
fire_mark=$(sound_mark)
xdotool keydown Control_L
sleep 0.6
firing_shot=$(screenshot firing)
fire_flash=$(muzzle_flash "$firing_shot")
wait_sound_until "$fire_mark+1.5"
xdotool keyup Control_L
before=$(sound_level edge "$fire_mark-1.2" "$fire_mark-0.2")
during=$(sound_level edge "$fire_mark+0.3" "$fire_mark+1.3")
is_above "$(ratio "$during" "$before")" 2 ||
    fail "no firing sound: high-frequency RMS $before before Ctrl, $during while held"
echo "ok: Ctrl fires: high-frequency RMS of the sound $before before, $during while held (x$(ratio "$during" "$before"))"
sleep 1
after_flash=$(muzzle_flash "$(screenshot after_firing)")
is_above "$fire_flash" 0.05 && is_above 0.02 "$rest_flash" && is_above 0.02 "$after_flash" ||
    fail "muzzle flash share: $rest_flash before Ctrl, $fire_flash while firing, $after_flash after"
echo "ok: the virus shows its firing look while Ctrl is held: muzzle-flash pixels $rest_flash before, $fire_flash while firing, $after_flash after release"

# F1: the frame-rate box, a window of its own; once it is dismissed the game goes on.
before=$(top_level_windows | sort)
key F1
box=$(new_top_level_window "$before") || fail "F1 showed no box"
sleep 0.5
window_caption "$box" | grep -q '"FPS-o-meter"' || fail "the F1 box is $(window_caption "$box")"
dismiss_box "$box"
for _ in $(seq 100); do
    top_level_windows | grep -q "^$box\$" || break
    sleep 0.1
done
top_level_windows | grep -q "^$box\$" && fail "the FPS-o-meter box did not close"
first=$(screenshot after_box_1)
sleep 1
moved=$(region_rmse "$first" "$(screenshot after_box_2)" "${SCREEN_W}x${SCREEN_H}+0+0")
is_above "$moved" 0.02 || fail "the game stood still after the F1 box (RMSE $moved in 1 s)"
rate=$(sed -n 's/^FPS-o-meter: //p' "$WORK_DIR/program.log" | head -n 1)
echo "ok: F1 shows the 'FPS-o-meter' box as a new window (rate $rate, as logged); after it is dismissed the game goes on (screen RMSE $moved over 1 s)"

# A window close during play: back to the menu, which Play leaves for the same game.
"$TOOLS_DIR/send-close" "$window"
expect_menu 0 "a window close during play"
music_mark=$(sound_mark)
wait_sound_until "$music_mark+1.5"
level=$(sound_level rms "$music_mark" "$music_mark+1.5")
is_above "$level" 0.02 || fail "no menu music after a close during play (RMS $level)"
echo "ok: a window close during play shows the main menu with Play highlighted and its music (RMS $level)"
key Return
resumed=$(now)
countdown=0
while is_above 4 "$(since "$resumed")"; do
    shot=$(screenshot resumed)
    title=$(region_rmse "$shot" "$WORK_DIR/menu_normal.png" "$(world_box 0 3.9 -2.5 13.8 2.2)")
    is_above "$title" 0.1 || fail "Play did not leave the menu (title RMSE $title)"
    match=$(text_score "$shot" -1.25 0.0 30 "Prepare!!!")
    is_above "$match" "$countdown" && countdown=$match
done
is_above 0.5 "$countdown" || fail "Play after a close started a new countdown (match $countdown)"
echo "ok: Play resumes the game in level 1: no 'Prepare!!!' in 4 s (best match $countdown)"

xdotool keydown Escape
wait_program_status
xdotool keyup Escape
[ "$PROGRAM_STATUS" = "1" ] || fail "Escape in play ended with '$PROGRAM_STATUS'"
[ -e "$RUN_DIR/hiscore.txt" ] && fail "Escape in play wrote hiscore.txt: $(cat "$RUN_DIR/hiscore.txt")"
echo "ok: Escape in play ends the program with status 1 and writes no hiscore.txt"
