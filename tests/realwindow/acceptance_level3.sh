#!/usr/bin/env bash
# A game of hemorune at 800 x 600 played into level 3 as a player plays it: firing in bursts at
# the white cells, reloading, keeping away from the red cell. Level 2's "Red Influence" and level
# 3's "Artery" titles, the level-3 music in the recorded sound, and the first bubble, kept in the
# screenshot play.png together with the cells around it.
set -u
RUN_DIR=$1
TOOLS_DIR=$2
source "$(dirname "$0")/lib/xtest.bash"

# Upper limits: level 1 lasts 60 s and longer while the score is below 50 (slow frames kill
# fewer cells), level 2 lasts 90 s; the bubble comes down from the first moments of level 3 and
# again every few seconds if it is missed.
LEVEL1_LIMIT=300
LEVEL2_LIMIT=130
BUBBLE_LIMIT=60

# --- What a screenshot shows, from colours that only these pictures have (checked against every
# picture of the run directory). ---

# Channel tests of a colour: "-threshold 80%" passes above 80 %, "-threshold 35% -negate" below.
# channel_tests R G B [G2]: the pixels that pass all the tests, white on black, from the channels
# c[0..2]; G2 is a second test of the green channel.
channel_tests() {
    local second=""
    [ -n "${4:-}" ] && second="( mpr:c[1] $4 )"
    echo "( ( mpr:c[0] $1 ) ( mpr:c[1] $2 ) ( mpr:c[2] $3 ) $second -evaluate-sequence min )"
}

# The rows of 20-pixel squares above the virus's gun, where white cells are looked for.
WHITE_ROWS=20

# Screen pixels per world unit on the plane z = 0.
SCALE=$(awk 'BEGIN { printf "%.2f", 600 / (2 * 10 * 0.41421356) }')

# scene SHOT: "RED RX RY VIRUS_X WHITE WX WY" on a grid of 20-pixel squares: RED the pixels of the
# red cell's body (bright red, which the vessel wall lacks) around the reddest square and RX RY
# its centre in world units; VIRUS_X the centre of the virus's dark green in the bottom band;
# WHITE the squares in the WHITE_ROWS above the gun at least half covered by a white cell's body
# (pale lilac, or pale green once revived; not the plain white of the texts), WX WY the middle of
# the cell nearest to the virus's column and a row of it. The health gauge's columns and the
# score are left out. The colours are looked up at half size, plenty for bodies of 70 pixels.
scene() {
    # shellcheck disable=SC2046 # the tests are lists of words
    /usr/bin/convert "$1" -sample 50% -colorspace sRGB -type TrueColor -separate -write mpr:c -delete 0--1 \
        $(channel_tests "-threshold 80%" "-threshold 35% -negate" "-threshold 35% -negate") \
        -write mpr:red +delete \
        $(channel_tests "-threshold 70%" "-threshold 60%" "-threshold 75%" "-threshold 90% -negate") \
        $(channel_tests "-threshold 45%" "-threshold 55%" "-threshold 72% -negate") \
        -evaluate-sequence max -write mpr:white +delete \
        $(channel_tests "-threshold 33% -negate" "-threshold 45%" "-threshold 20% -negate") \
        -write mpr:virus +delete \
        mpr:red mpr:white mpr:virus -combine -scale 40x30! -depth 8 txt:- |
        awk -v s="$SCALE" -v rows="$WHITE_ROWS" -F'[,:() ]+' '
            /^[0-9]/ {
                x = $1; y = $2; r[x, y] = $3; g[x, y] = $4; b[x, y] = $5
            }
            END {
                best = -1
                for (y = 0; y < 30; y++) for (x = 4; x < 40; x++) if (r[x, y] > best) { best = r[x, y]; bx = x; by = y }
                red = 0; sx = 0; sy = 0
                for (y = by - 3; y <= by + 3; y++) for (x = bx - 3; x <= bx + 3; x++) {
                    if (x < 4 || x >= 40 || y < 0 || y >= 30) continue
                    v = r[x, y] / 255 * 400; red += v; sx += v * (x * 20 + 10); sy += v * (y * 20 + 10)
                }
                rx = 0; ry = 9
                if (red > 0) { rx = (sx / red - 400) / s; ry = (300 - sy / red) / s }
                vn = 0; vx = 0
                for (y = 20; y < 30; y++) for (x = 0; x < 40; x++) { vn += b[x, y]; vx += b[x, y] * (x * 20 + 10) }
                px = (vn > 0) ? (vx / vn - 400) / s : 0
                white = 0; wy = -1; wx = 0; near = 99; vcol = (px * s + 400 - 10) / 20
                for (y = 0; y < rows; y++) for (x = 4; x < 40; x++) {
                    if (y < 6 && x >= 17 && x < 26) continue
                    if (g[x, y] >= 128) {
                        white++
                        d = (x > vcol) ? x - vcol : vcol - x
                        if (d < near || d == near && y > wy) { near = d; wy = y; wx = x }
                    }
                }
                # The middle of that cell: the covered squares up to 4 columns and 4 rows from the
                # square found.
                cn = 0; cx = 0
                for (y = wy - 4; y <= wy + 4; y++) for (x = wx - 4; x <= wx + 4; x++) {
                    if (y >= 0 && y < rows && x >= 4 && x < 40 && g[x, y] >= 128) { cn++; cx += x }
                }
                if (cn > 0) wx = cx / cn
                printf "%d %.2f %.2f %.2f %d %.2f %.2f\n", red, rx, ry, px, white,
                    (wx * 20 + 10 - 400) / s, (wy >= 0) ? (300 - wy * 20 - 10) / s : 9
            }'
}

# bubble SHOT: "PIXELS WIDTH HEIGHT X Y" of the bubble ring's pale cyan, which no other picture
# of play has (bar a few pixels of the syringe): the count of such pixels, the size of the box
# around them in pixels and its centre in world units.
bubble() {
    # shellcheck disable=SC2046
    /usr/bin/convert "$1" -colorspace sRGB -type TrueColor -separate -write mpr:c -delete 0--1 \
        $(channel_tests "-threshold 90% -negate" "-threshold 92%" "-threshold 92%") -format '%[fx:int(mean*w*h+0.5)] %@\n' info: 2>/dev/null |
        awk -v s="$SCALE" '{
            split($2, g, /[x+]/)
            if ($1 == 0) { print "0 0 0 0 0"; exit }
            printf "%d %d %d %.2f %.2f\n", $1, g[1], g[2], (g[3] + g[1] / 2 - 400) / s, (300 - g[4] - g[2] / 2) / s
        }'
}

# health SHOT: the player's health as the health gauge shows it: the gauge (x -4.5, z 1) is 1.5
# units high per 100 health with its base at y -3.8 + height / 3, so its top is at
# y = -3.8 + 2.25 x health / 100. Its pink is the longest run down its middle column (the folds
# of the vessel wall have short runs of a like colour).
health() {
    /usr/bin/convert "$1" -crop 1x340+38+260 +repage -depth 8 txt:- | awk -F'[,:() ]+' '
        /^[0-9]/ {
            if ($3 >= 230 && $4 >= 100 && $4 <= 190 && $5 >= 100 && $5 <= 190) {
                if (run == 0) start = $2
                run++
                if (run > longest) { longest = run; top = start + 260 }
            } else run = 0
        }
        END {
            if (longest < 10) { print "?"; exit }
            s = 600 / (2 * 9 * 0.41421356)
            printf "%d\n", ((300 - top) / s + 3.8) * 100 / 2.25 + 0.5
        }'
}

# grab NAME: a screenshot as $WORK_DIR/NAME.ppm (much quicker to write than a PNG); prints the path.
grab() {
    local file="$WORK_DIR/$1.ppm"
    /usr/bin/import -window root "$file" 2>/dev/null || fail "no screenshot $1"
    echo "$file"
}

# --- The player's hands: keys held across frames. ---

# The trigger finger: a process of its own that, while $WORK_DIR/firing exists, holds Ctrl in
# bursts of 0.4 s with a short release between them (the spread falls back to 0 at a release, so
# the bullets hit with their full damage again) and presses Shift every 3 s, before the 300
# frames of ammunition run out. It keeps its own pace however long a look at the screen takes.
FINGER_PID=""
start_finger() {
    touch "$WORK_DIR/firing"
    (
        reloaded=0
        while :; do
            if [ -e "$WORK_DIR/firing" ]; then
                xdotool keydown Control_L
                for _ in 1 2 3 4; do
                    [ -e "$WORK_DIR/firing" ] || break
                    sleep 0.1
                done
                xdotool keyup Control_L
                sleep 0.08
                if [ $(($(date +%s) - reloaded)) -ge 3 ]; then
                    xdotool keydown Shift_L
                    sleep 0.1
                    xdotool keyup Shift_L
                    reloaded=$(date +%s)
                fi
            else
                sleep 0.1
            fi
        done
    ) &
    FINGER_PID=$!
}

# stop_firing: the finger lets go and waits.
GUN=on
stop_firing() {
    GUN=off
    rm -f "$WORK_DIR/firing"
    sleep 0.6
}

stop_finger() {
    if [ -n "$FINGER_PID" ]; then
        kill "$FINGER_PID" 2>/dev/null || true
        wait "$FINGER_PID" 2>/dev/null || true
        FINGER_PID=""
    fi
}
trap 'stop_finger; cleanup' EXIT

# move_towards FROM TO: a sideways move held for the time the distance needs at 0.065 units a
# frame, less the glide of about 0.87 units after the key is let go.
move_towards() {
    local distance duration direction=Right
    distance=$(awk -v a="$1" -v b="$2" 'BEGIN { d = b - a; print (d < 0) ? -d : d }')
    is_above "$2" "$1" || direction=Left
    duration=$(awk -v d="$distance" 'BEGIN { t = (d - 0.8) / 3.9; if (t < 0.05) t = 0.05; if (t > 0.45) t = 0.45; printf "%.2f", t }')
    # Firing while moving would widen the spread: the finger lets go for the move.
    rm -f "$WORK_DIR/firing"
    sleep 0.12
    xdotool keydown "$direction"
    sleep "$duration"
    xdotool keyup "$direction"
    [ "$GUN" = on ] && touch "$WORK_DIR/firing"
}

# steer DIRECTION: keeps Left or Right held ("" for neither) until the next change, so that the
# virus goes on running while the next look at the screen is taken.
STEERING=""
steer() {
    [ "$1" = "$STEERING" ] && return 0
    [ -n "$STEERING" ] && xdotool keyup "$STEERING"
    [ -n "$1" ] && xdotool keydown "$1"
    STEERING=$1
}

RED_DODGES=0
RED=0
LOWEST_HEALTH=100

# play_step: one look at the screen and one move: out of the column of a red cell that is still
# above the virus (a big one falls 3 units a second and a look may take a second on a busy
# machine, so the virus keeps away from it from the moment it shows and runs until it is clear),
# otherwise under the white cell nearest to its column, the one it reaches soonest.
play_step() {
    local shot red rx ry vx white wx wy target=""
    shot=$(grab play_step)
    PLAY_SHOT=$shot
    read -r red rx ry vx white wx wy <<<"$(scene "$shot")"
    RED=$red
    [ -n "${LEVEL3_DEBUG:-}" ] &&
        echo "step $(since "$played"): red $red at $rx $ry, virus $vx, white $white nearest $wx $wy, health $(health "$shot")" >&2
    if [ "$red" -gt 900 ] && is_above "$ry" -4.3 &&
        awk -v a="$rx" -v b="$vx" 'BEGIN { d = a - b; exit !(d < 2.8 && d > -2.8) }'; then
        # Away on the side the virus is on, or across under the cell while it is still high.
        steer "$(awk -v r="$rx" -v v="$vx" -v y="$ry" 'BEGIN {
            left = (r - 2.8 >= -3.3); right = (r + 2.8 <= 3.3)
            if (v <= r) print (left || !right && y > 0.5) ? "Left" : "Right"
            else print (right || !left && y > 0.5) ? "Right" : "Left" }')"
        RED_DODGES=$((RED_DODGES + 1))
        return 0
    fi
    steer ""
    # Never into the red cell's column while it is still above the virus.
    if [ "$white" -gt 0 ] && ! { [ "$red" -gt 900 ] && is_above "$ry" -4.3 &&
        awk -v a="$rx" -v b="$wx" 'BEGIN { d = a - b; exit !(d < 2.8 && d > -2.8) }'; }; then
        target=$wx
    fi
    # A press moves the virus at least 0.9 units with its glide, so nearer than 0.5 it stays.
    if [ -n "$target" ] && awk -v a="$target" -v b="$vx" 'BEGIN { d = a - b; exit !(d > 0.5 || d < -0.5) }'; then
        move_towards "$vx" "$target"
    else
        sleep 0.1
    fi
}

# check_alive WHERE: notes the lowest health the gauge shows, and fails once the game has ended
# (the score goes into hiscore.txt at once, before the dying sequence).
check_alive() {
    local left
    left=$(health "$PLAY_SHOT")
    [ "$left" != "?" ] && [ "$left" -lt "$LOWEST_HEALTH" ] && LOWEST_HEALTH=$left
    if [ -e "$RUN_DIR/hiscore.txt" ]; then
        fail "the game ended in $1 (health below 1; hiscore.txt holds '$(cat "$RUN_DIR/hiscore.txt")'): the virus did not survive"
    fi
}

# --- The game. ---

use_fresh_run_dir
start_x 800x600
make_menu_pictures
start_recorded_program hemorune
find_window Hemorune >/dev/null || fail "no window titled Hemorune"
wait_first_frame
expect_menu 0 "start-up"

played=$(now)
key Return
wait_text -1.25 0.0 30 "Prepare!!!" 10 || fail "no 'Prepare!!!' countdown after Play (match $TEXT_SCORE)"
# To the bottom of the virus's box: the longest way for the bullets to meet the cells, and where a
# red cell is seen longest before it arrives.
hold Down 1.0
start_finger

# Level 1 ends with the first red cell; from then on every look between two moves also looks for
# level 2's title, which the cells may cover now and then.
level1=$(now)
red_since=""
best=0
while :; do
    play_step
    check_alive "level 1 or 2"
    [ -z "$red_since" ] && [ "$RED" -gt 900 ] && red_since=$(now)
    if [ -n "$red_since" ]; then
        title=$(text_score "$PLAY_SHOT" -1.5 0.0 30 "Red Influence")
        is_above "$title" "$TEXT_MATCH" && break
        is_above "$title" "$best" && best=$title
        shot=$(grab title_look)
        title=$(text_score "$shot" -1.5 0.0 30 "Red Influence")
        is_above "$title" "$TEXT_MATCH" && { PLAY_SHOT=$shot; break; }
        is_above "$title" "$best" && best=$title
        is_above "$(since "$red_since")" 15 &&
            fail "no 'Red Influence' title in the 15 s after the first red cell showed (best match $best)"
    fi
    is_above "$(since "$level1")" "$LEVEL1_LIMIT" &&
        fail "level 1 went on for $LEVEL1_LIMIT s without a red cell: the score stayed below 50"
done
# The title shows from 3 to 8 s into level 2.
seen2=$(now)
echo "ok: level 2's 'Red Influence' seen $(since "$played") s after Play, $(since "$red_since") s after the first red cell (text match $title, health gauge at $(health "$PLAY_SHOT"))"

# Level 2 lasts 90 s from between 8 and 3 s before the title was seen. Before it ends the gun
# falls silent, so that the first bubble of level 3 is not shot down before it is seen.
dodges_before=$RED_DODGES
while is_above 78 "$(since "$seen2")"; do
    play_step
    check_alive "level 2"
done
stop_firing
music_before=$(sound_mark)
artery=""
bubble_seen=""
while :; do
    play_step
    check_alive "level 2 or 3"
    if [ -z "$artery" ]; then
        title=$(text_score "$PLAY_SHOT" -1.0 0.0 30 "Artery")
        if is_above "$title" "$TEXT_MATCH"; then
            artery=$(since "$seen2")
            artery_match=$title
            # The music of level 3 began 3 to 8 s before.
            music_after=$(sound_mark)
        fi
    fi
    if [ -z "$bubble_seen" ]; then
        read -r ring ring_w ring_h ring_x ring_y <<<"$(bubble "$PLAY_SHOT")"
        read -r red _ _ _ white _ _ <<<"$(scene "$PLAY_SHOT")"
        # A bubble is 1 unit, about 72 pixels, across; white cells above the virus go with it.
        if [ "$ring" -ge 25 ] && [ "$ring_w" -le 90 ] && [ "$ring_h" -le 90 ] && [ "$white" -ge 2 ]; then
            bubble_seen=$(since "$seen2")
            # The next look overwrites the screenshot.
            bubble_shot="$WORK_DIR/bubble.ppm"
            cp "$PLAY_SHOT" "$bubble_shot"
        fi
    fi
    [ -n "$artery" ] && [ -n "$bubble_seen" ] && break
    is_above "$(since "$seen2")" "$LEVEL2_LIMIT" && [ -z "$artery" ] &&
        fail "no 'Artery' title within $LEVEL2_LIMIT s of level 2's title (best match $title)"
    is_above "$(since "$seen2")" $((LEVEL2_LIMIT + BUBBLE_LIMIT)) &&
        fail "no bubble on the screen in level 3 (last: $ring cyan pixels in a ${ring_w}x$ring_h box)"
done
echo "ok: level 3's 'Artery' seen $artery s after level 2's title, which shows 3 to 8 s into its 90 s (text match $artery_match)"
echo "ok: level 2 survived: lowest health on the gauge $LOWEST_HEALTH, $((RED_DODGES - dodges_before)) looks that sent it away from the red cell"
keep_screenshot "$bubble_shot" play
echo "ok: a bubble on the screen $bubble_seen s after level 2's title: $ring pixels of its ring's pale cyan in a ${ring_w}x$ring_h box centred at ($ring_x, $ring_y), with $white squares of white cells and $red red-cell pixels; kept as play.png"

# The music: level 2 ends with "ingame2.wav" playing, level 3 begins "ingame5.wav" (3 to 8 s
# before its title was seen). Quarter-second stretches of the recording taken while the gun is
# silent are compared with both files; the best of two stretches counts, in case a red cell's
# squeal falls into one.
# music_match SOURCE AT...: the best correlation with SOURCE of the stretches from each AT.
music_match() {
    local source=$1 best=0 at value
    shift
    for at in "$@"; do
        at=$("$TOOLS_DIR/wav-probe" at "$RECORDING" "$at") || fail "no recording at $RECORDING"
        value=$("$TOOLS_DIR/wav-probe" match "$RECORDING" "$at" "$(awk -v t="$at" 'BEGIN { print t + 0.25 }')" \
            "$RUN_DIR/$source" | cut -d' ' -f1) || fail "cannot compare the recording with $source"
        is_above "$value" "$best" && best=$value
    done
    echo "$best"
}
wait_sound_until "$music_after"
level3_rms=$(sound_level rms "$music_after-2" "$music_after")
is_above "$level3_rms" 0.02 || fail "no music in level 3: RMS $level3_rms in the 2 s before 'Artery' was seen"
level3_own=$(music_match ingame5.wav "$music_after-2" "$music_after-1")
level3_other=$(music_match ingame2.wav "$music_after-2" "$music_after-1")
level2_own=$(music_match ingame2.wav "$music_before+0.5" "$music_before+1.5")
level2_other=$(music_match ingame5.wav "$music_before+0.5" "$music_before+1.5")
is_above "$level3_own" 0.9 && is_above "$level3_own" "$(awk -v v="$level3_other" 'BEGIN { print v + 0.2 }')" ||
    fail "level 3's sound does not follow ingame5.wav: correlation $level3_own with it, $level3_other with ingame2.wav"
is_above "$level2_own" 0.9 && is_above "$level2_own" "$(awk -v v="$level2_other" 'BEGIN { print v + 0.2 }')" ||
    fail "level 2's sound does not follow ingame2.wav: correlation $level2_own with it, $level2_other with ingame5.wav"
echo "ok: the music changes with level 3: RMS $level3_rms; the recording follows ingame5.wav in level 3 (correlation $level3_own, with ingame2.wav $level3_other) and ingame2.wav at the end of level 2 ($level2_own, with ingame5.wav $level2_other)"

stop_finger
steer ""
xdotool keydown Escape
wait_program_status
xdotool keyup Escape
[ "$PROGRAM_STATUS" = "1" ] || fail "Escape in level 3 ended with '$PROGRAM_STATUS'"
echo "ok: Escape in level 3 ends the program with status 1 after $(since "$played") s of play"
