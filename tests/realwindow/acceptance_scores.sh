#!/usr/bin/env bash
# A whole game of hemorune-wide at 1280 x 800 ended with F2: the name typed in Settings and the
# score go into "hiscore.txt", the dying sequence runs, and the high-score screen shows the new
# entry; a new game then starts from its countdown, and Escape leaves the table as it was.
set -u
RUN_DIR=$1
TOOLS_DIR=$2
source "$(dirname "$0")/lib/xtest.bash"

name="ACCEPT TEST"
use_fresh_run_dir
start_x 1280x800
make_menu_pictures
start_program hemorune-wide
find_window Hemorune >/dev/null || fail "no window titled Hemorune"
wait_first_frame
expect_menu 0 "start-up"
enter_player_name "$name"

key Return
wait_text -1.25 0.0 30 "Prepare!!!" 10 || fail "no countdown after Play (match $TEXT_SCORE)"
key Shift_L
xdotool keydown Control_L
sleep 2
xdotool keyup Control_L
living=$(virus_colour "$(screenshot living)")

ended=$(now)
xdotool keydown F2
for _ in $(seq 100); do
    [ -e "$RUN_DIR/hiscore.txt" ] && break
    sleep 0.1
done
# The dying look shows for five seconds from the end of the game: two screenshots at once, the
# first of which may still hold the last frame of play, analysed afterwards.
first_dying=$(screenshot dying_1)
dying_at=$(since "$ended")
second_dying=$(screenshot dying_2)
xdotool keyup F2
[ -e "$RUN_DIR/hiscore.txt" ] || fail "F2 ended no game: no hiscore.txt"
dying=$(virus_colour "$second_dying")
is_above 0.2 "$dying" || dying=$(virus_colour "$first_dying")
is_above "$living" 0.3 && is_above 0.2 "$dying" ||
    fail "no dying look: virus saturation $living in play, $dying about $dying_at s after F2"
echo "ok: F2 ends the game: the virus turns grey (saturation $living in play, $dying about $dying_at s after F2)"

# One line: the name padded to 14 characters, then the score, and no line break after it.
entry=$(cat "$RUN_DIR/hiscore.txt")
padded=$(printf '%-14s' "$name")
[ "$(wc -c <"$RUN_DIR/hiscore.txt")" = "${#entry}" ] ||
    fail "hiscore.txt is not one line without a line break: $(od -c "$RUN_DIR/hiscore.txt" | head -3)"
[[ "$entry" =~ ^"$padded"(-?[0-9]+)$ ]] || fail "hiscore.txt holds '$entry', not '$padded<score>'"
score=${BASH_REMATCH[1]}
echo "ok: hiscore.txt holds '$entry': the typed name padded to 14 characters and the score $score"

wait_text -3.7 1.5 30 "01 $entry" 30 || fail "the high-score screen does not show '01 $entry' (match $TEXT_SCORE)"
shown_at=$(since "$ended")
# The dying sequence lasts five seconds before the menu comes back.
is_above "$shown_at" 5 || fail "the high-score screen came $shown_at s after F2, before the dying sequence ended"
keep_screenshot "$TEXT_SHOT" highscores
echo "ok: after the dying sequence the high-score screen shows '01 $entry' ($shown_at s after F2, text match $TEXT_SCORE)"

key Return
expect_menu 0 "Enter on the high-score screen"
key Return
wait_text -1.25 0.0 30 "Prepare!!!" 10 || fail "Play after a game over started no new countdown"
echo "ok: Play after a game over starts a new game with its countdown (text match $TEXT_SCORE)"
xdotool keydown Escape
wait_program_status
xdotool keyup Escape
[ "$PROGRAM_STATUS" = "1" ] || fail "Escape in play ended with '$PROGRAM_STATUS'"
[ "$(cat "$RUN_DIR/hiscore.txt")" = "$entry" ] ||
    fail "Escape changed hiscore.txt to '$(cat "$RUN_DIR/hiscore.txt")'"
echo "ok: Escape in play ends with status 1 and leaves hiscore.txt as it was"
