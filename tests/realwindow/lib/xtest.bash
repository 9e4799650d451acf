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
        # SDL turns SIGTERM into a quit message, which during play only returns to the menu:
        # a program that is still there after 5 s is killed.
        kill -- -"$PROGRAM_PID" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$PROGRAM_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- -"$PROGRAM_PID" 2>/dev/null || true
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
SCREEN_W=0
SCREEN_H=0
start_x() {
    local size=$1
    SCREEN_W=${size%x*}
    SCREEN_H=${size#*x}
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

# find_window TITLE [SECONDS]: the id of the first window with exactly this name (waits up to
# SECONDS, 30 unless given; gives up at once when the program has ended).
find_window() {
    local id=""
    for _ in $(seq $((${2:-30} * 10))); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        if [ -n "$PROGRAM_PID" ] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            return 1
        fi
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

# wait_first_frame [SECONDS]: waits (up to SECONDS, 60 unless given) until the screen is no longer
# black, that is until the program has loaded its assets and shown a frame.
wait_first_frame() {
    local mean
    for _ in $(seq $((${1:-60} * 2))); do
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


# dismiss_box ID: presses Return on a message box. The box is given the keyboard focus (the game
# window holds it once it has raised itself); the pointer over it serves when nothing holds it.
dismiss_box() {
    xdotool mousemove --window "$1" 20 20 2>/dev/null || true
    xdotool windowfocus "$1" 2>/dev/null || true
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

# --- Steps of the acceptance scripts: a private run directory, recorded sound, screenshots. ---

# use_fresh_run_dir: runs the programs from a private copy of RUN_DIR with no high-score file, so
# a test starts as a fresh installation and may remove files.
use_fresh_run_dir() {
    cp -r "$RUN_DIR" "$WORK_DIR/run" || fail "cannot copy the run directory $RUN_DIR"
    rm -f "$WORK_DIR/run/hiscore.txt"
    RUN_DIR="$WORK_DIR/run"
}

# start_recorded_program NAME: as start_program, with everything the program plays written to
# $RECORDING by OpenAL Soft's wave writer (mono, 16 bits, 22050 Hz), which keeps pace with the
# clock, so a size of the file marks a moment (sound_mark).
RECORDING=""
start_recorded_program() {
    RECORDING="$WORK_DIR/sound.$1.wav"
    rm -f "$RECORDING"
    printf '[general]\nchannels=mono\nsample-type=int16\nfrequency=22050\n[wave]\nfile=%s\n' \
        "$RECORDING" >"$WORK_DIR/alsoft.conf"
    (cd "$RUN_DIR" && ALSOFT_DRIVERS=wave ALSOFT_CONF="$WORK_DIR/alsoft.conf" exec setsid "./$1") \
        >"$WORK_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# sound_mark: the present moment of the recording, as wav-probe takes it ("b<bytes>").
sound_mark() {
    echo "b$(stat -c %s "$RECORDING" 2>/dev/null || echo 0)"
}

# wait_sound_until POSITION: waits (up to 60 s) until the recording reaches a position such as
# "b123456+2", so that a stretch of sound is measured only once it is all written.
wait_sound_until() {
    local target now
    target=$("$TOOLS_DIR/wav-probe" at "$RECORDING" "$1") || fail "no recording at $RECORDING"
    for _ in $(seq 300); do
        now=$("$TOOLS_DIR/wav-probe" at "$RECORDING" "$(sound_mark)" 2>/dev/null)
        [ -n "$now" ] && is_above "$now" "$target" && return 0
        sleep 0.2
    done
    fail "the recording did not reach $1 (at $target s)"
}

# sound_level rms|edge FROM TO: loudness of a stretch of the recording (see wav-probe).
sound_level() {
    "$TOOLS_DIR/wav-probe" "$1" "$RECORDING" "$2" "$3" || fail "cannot measure $RECORDING"
}

# is_above A B: true when the number A is greater than B.
is_above() {
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'
}

# ratio A B: A / B with two decimals (B = 0 counts as a tiny value).
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 1e-6; printf "%.2f", a / b }'
}

# Screenshots: every one goes to WORK_DIR; the named ones a person would want to see are also
# kept in HEMORUNE_SCREENSHOT_DIR (default: realwindow-screenshots in the build tree).
SCREENSHOT_DIR=${HEMORUNE_SCREENSHOT_DIR:-$TOOLS_DIR/../realwindow-screenshots}

# screenshot NAME: the whole screen to $WORK_DIR/NAME.png; prints that path.
screenshot() {
    local file="$WORK_DIR/$1.png"
    /usr/bin/import -window root "$file" 2>/dev/null || fail "no screenshot $1"
    echo "$file"
}

# keep_screenshot FILE NAME: a copy of a screenshot as NAME.png in the screenshot directory, in
# 255 colours so that it stays small.
keep_screenshot() {
    mkdir -p "$SCREENSHOT_DIR" &&
        /usr/bin/convert "$1" -dither None -colors 255 "$SCREENSHOT_DIR/$2.png" ||
        fail "cannot keep $2.png"
}

# --- Where things are on the screen, and what they should look like there. ---

# world_box X Y Z WIDTH HEIGHT: the screen rectangle ("WxH+L+T") of a world rectangle centred at
# (X, Y) on the plane Z: 45 degrees of vertical view, the camera 10 units from the plane z = 0.
world_box() {
    awk -v W="$SCREEN_W" -v H="$SCREEN_H" -v x="$1" -v y="$2" -v z="$3" -v w="$4" -v h="$5" '
        BEGIN {
            s = H / (2 * (10 - z) * 0.41421356)
            printf "%dx%d%+d%+d\n", w * s + 0.5, h * s + 0.5, W / 2 + (x - w / 2) * s, H / 2 - (y + h / 2) * s
        }'
}

# world_point X Y: the pixel "PX PY" of a point on the plane z = 0, where texts are placed.
world_point() {
    awk -v W="$SCREEN_W" -v H="$SCREEN_H" -v x="$1" -v y="$2" '
        BEGIN { s = H / (2 * 10 * 0.41421356); printf "%d %d\n", W / 2 + x * s, H / 2 - y * s }'
}

# expected_screen OUT LAYER...: what a frame of pictures should look like, each LAYER
# "FILE:X:Y:Z:WIDTH:HEIGHT" a picture of the run directory drawn in that world rectangle, in
# order. A texel is drawn fully or not at all (alpha test at 0.1), so the alpha is cut there.
expected_screen() {
    local out=$1 layer file x y z w h box size
    shift
    local args=(-size "${SCREEN_W}x${SCREEN_H}" xc:black)
    for layer in "$@"; do
        IFS=: read -r file x y z w h <<<"$layer"
        box=$(world_box "$x" "$y" "$z" "$w" "$h")
        size=${box%%[+-]*}
        args+=(\( "$RUN_DIR/$file" -resize "$size!" -channel A -threshold 10% +channel \)
            -geometry "${box#"$size"}" -composite)
    done
    /usr/bin/convert "${args[@]}" -alpha off "$out" || fail "cannot make the expected picture $out"
}

# region_rmse A B GEOMETRY: the normalised root-mean-square difference (0 same, 1 opposite) of
# two pictures within a rectangle.
region_rmse() {
    /usr/bin/convert "$1" -crop "$3" +repage \( "$2" -crop "$3" +repage \) -metric RMSE -compare \
        -format '%[distortion]\n' info: || fail "cannot compare $3 of $1 and $2"
}

# The main menu: its background and the six buttons, top to bottom (normal, highlighted, y).
MENU_BUTTONS=("play 1.5" "settings 0.5" "help -0.5" "highscore -1.5" "credits -2.5" "exit -3.5")

# menu_layers SELECTION: the layers of the main menu with that entry highlighted (none: no
# entry, all: every entry).
menu_layers() {
    local i name y
    echo "IMGS/back.png:0:0:-2.5:13.8:10.4"
    for i in "${!MENU_BUTTONS[@]}"; do
        read -r name y <<<"${MENU_BUTTONS[$i]}"
        if [ "$i" = "$1" ] || [ "$1" = all ]; then
            echo "IMGS/${name}1.png:0:$y:1:2:2"
        else
            echo "IMGS/${name}0.png:0:$y:1:2:2"
        fi
    done
}

# menu_button_box INDEX: the screen rectangle of a main-menu button's body.
menu_button_box() {
    local name y
    read -r name y <<<"${MENU_BUTTONS[$1]}"
    world_box 0 "$y" 1 1.9 0.7
}

# text_score SHOT X Y SIZE TEXT [STEP]: how well the white pixels of a screenshot around the
# place of a text drawn at (X, Y) with size SIZE match that text rendered from the game's own font
# file (normalised cross-correlation after a small blur: about 1 for the same text, low
# otherwise). The game draws text in plain white, and its pixmap font has an em of SIZE + 20
# pixels. A TEXT of several lines is drawn a line every STEP units further down, as the help and
# credits screens draw their files.
text_score() {
    local shot=$1 size=$(($4 + 20)) step=${6:-0} px py line i=0
    local lines=()
    mapfile -t lines <<<"$5"
    read -r px py <<<"$(world_point "$2" "$3")"
    local last_py
    last_py=$(awk -v p="$py" -v n="${#lines[@]}" -v s="$step" -v H="$SCREEN_H" \
        'BEGIN { printf "%d", p + (n - 1) * s * H / (2 * 10 * 0.41421356) }')
    local left=$((px - 20)) top=$((py - size))
    [ "$left" -lt 0 ] && left=0
    [ "$top" -lt 0 ] && top=0
    local width=$((SCREEN_W - left)) height=$((last_py + size * 3 / 10 - top))
    /usr/bin/convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage \
        -fuzz 3% -fill black +opaque white -fill white -opaque white -colorspace gray \
        -blur 0x2 "$WORK_DIR/text_seen.png" || fail "cannot crop the text of $shot"
    # The rendering depends only on the arguments, so polls of the same text render it once.
    local expected
    expected="$WORK_DIR/text_$(echo "$SCREEN_W $2 $3 $4 $step $5" | md5sum | cut -c1-16).png"
    if [ ! -s "$expected" ]; then
        local draw=()
        for line in "${lines[@]}"; do
            read -r px py <<<"$(world_point "$2" "$(awk -v y="$3" -v i="$i" -v s="$step" \
                'BEGIN { print y - i * s }')")"
            draw+=(-annotate "+$((px - left))+$((py - top))" "$line")
            i=$((i + 1))
        done
        /usr/bin/convert -size "${width}x${height}" xc:black -font "$RUN_DIR/csnpwdt.ttf" \
            -pointsize "$size" -fill white "${draw[@]}" \
            -colorspace gray -threshold 50% -blur 0x2 "$expected" || fail "cannot render '$5'"
    fi
    /usr/bin/compare -metric NCC "$WORK_DIR/text_seen.png" "$expected" null: 2>&1 |
        awk '{ v = $1 + 0; printf "%.2f\n", v }'
}

# --- Steps a player takes, each checked on the screen. ---

# Keys are held for KEY_HOLD seconds: long enough to span a frame also in a slow (sanitizer) build,
# shorter than the X server's auto-repeat delay.
KEY_HOLD=${KEY_HOLD:-0.3}
TEXT_MATCH=0.85

# key NAME...: each key pressed and held across frames, one after the other.
key() {
    local name
    for name in "$@"; do
        hold "$name" "$KEY_HOLD"
    done
}

# make_menu_pictures: the expected main menu with no entry and with every entry highlighted.
make_menu_pictures() {
    local layers
    mapfile -t layers < <(menu_layers none)
    expected_screen "$WORK_DIR/menu_normal.png" "${layers[@]}"
    mapfile -t layers < <(menu_layers all)
    expected_screen "$WORK_DIR/menu_highlighted.png" "${layers[@]}"
}

# menu_state SHOT: which main-menu entries a screenshot shows highlighted, as six letters (h
# highlighted, n normal, ? neither), then the title region's difference from the menu picture.
menu_state() {
    local i box normal highlighted state=""
    for i in "${!MENU_BUTTONS[@]}"; do
        box=$(menu_button_box "$i")
        normal=$(region_rmse "$1" "$WORK_DIR/menu_normal.png" "$box")
        highlighted=$(region_rmse "$1" "$WORK_DIR/menu_highlighted.png" "$box")
        if is_above 0.2 "$highlighted" && is_above "$normal" 0.25; then
            state+=h
        elif is_above 0.2 "$normal" && is_above "$highlighted" 0.25; then
            state+=n
        else
            state+="?"
        fi
    done
    echo "$state $(region_rmse "$1" "$WORK_DIR/menu_normal.png" "$(world_box 0 3.9 -2.5 13.8 2.2)")"
}

# expect_menu SELECTION WHAT: waits (up to 30 s) for the main menu with entry SELECTION
# highlighted and the title picture in place; MENU_SHOT is the screenshot that showed it.
expect_menu() {
    local want="nnnnnn" state title
    want="${want:0:$1}h${want:$(($1 + 1))}"
    for _ in $(seq 40); do
        MENU_SHOT=$(screenshot menu_seen)
        read -r state title <<<"$(menu_state "$MENU_SHOT")"
        if [ "$state" = "$want" ] && is_above 0.08 "$title"; then
            return 0
        fi
        sleep 0.5
    done
    fail "$2: expected the main menu with entry $1 highlighted ($want), saw $state, title RMSE $title"
}

# wait_text X Y SIZE TEXT SECONDS [STEP]: polls screenshots until TEXT shows at (X, Y); TEXT_SHOT and
# TEXT_SCORE tell the screenshot and its match. False when it did not show within SECONDS.
wait_text() {
    local until
    until=$(($(date +%s) + $5))
    TEXT_SCORE=0
    while [ "$(date +%s)" -le "$until" ]; do
        TEXT_SHOT=$(screenshot text_seen_shot)
        TEXT_SCORE=$(text_score "$TEXT_SHOT" "$1" "$2" "$3" "$4" "${6:-0}")
        is_above "$TEXT_SCORE" "$TEXT_MATCH" && return 0
    done
    return 1
}

# settings_row_box ROW: the screen rectangle of a settings row's label.
settings_row_box() {
    case $1 in
    0) world_box -1.5 1.5 1 2 0.7 ;;
    4) world_box -2.3 -2.5 1 3 1.0 ;;
    5) world_box -1.0 -3.5 1 2 0.7 ;;
    esac
}

# enter_player_name NAME [SCREENSHOT]: from the main menu with Play highlighted, opens Settings,
# types NAME (capitals and spaces) over the name row's text, checks it on the screen (keeping that
# screenshot under the name SCREENSHOT if given) and applies it; back on the main menu with Play
# highlighted.
enter_player_name() {
    local name=$1 keep=${2:-} i letter layers
    mapfile -t layers < <(echo "IMGS/back.png:0:0:-2.5:13.8:10.4"
        echo "IMGS/fullscreen1.png:-1.5:1.5:1:2:2"
        echo "IMGS/playername1.png:-2.3:-2.5:1:3:3"
        echo "IMGS/apply1.png:-1.0:-3.5:1:2:2")
    expected_screen "$WORK_DIR/settings_highlighted.png" "${layers[@]}"
    key Down Return
    local shot rmse
    for _ in $(seq 40); do
        shot=$(screenshot settings)
        rmse=$(region_rmse "$shot" "$WORK_DIR/settings_highlighted.png" "$(settings_row_box 0)")
        is_above 0.2 "$rmse" && break
        sleep 0.5
    done
    is_above 0.2 "$rmse" || fail "Settings did not open with the full-screen row highlighted (RMSE $rmse)"
    echo "ok: Settings opens with the full-screen row highlighted (label RMSE $rmse to fullscreen1.png)"
    key Down Down Down Down
    shot=$(screenshot settings_name_row)
    rmse=$(region_rmse "$shot" "$WORK_DIR/settings_highlighted.png" "$(settings_row_box 4)")
    is_above 0.2 "$rmse" || fail "four Downs did not highlight the player-name row (RMSE $rmse)"
    for i in 1 2 3 4 5 6 7 8; do
        key BackSpace
    done
    for ((i = 0; i < ${#name}; i++)); do
        letter=${name:i:1}
        if [ "$letter" = " " ]; then
            key space
        else
            key "${letter,,}"
        fi
    done
    wait_text -0.5 -3.0 30 "$name" 20 ||
        fail "the typed name '$name' is not on the settings screen (match $TEXT_SCORE)"
    [ -n "$keep" ] && keep_screenshot "$TEXT_SHOT" "$keep"
    echo "ok: Settings shows the typed name '$name' on the name row (text match $TEXT_SCORE)"
    key Down
    shot=$(screenshot settings_apply)
    rmse=$(region_rmse "$shot" "$WORK_DIR/settings_highlighted.png" "$(settings_row_box 5)")
    is_above 0.2 "$rmse" || fail "Down from the name row did not highlight Apply (RMSE $rmse)"
    key Return
    expect_menu 0 "Apply"
    echo "ok: Apply returns to the main menu with Play highlighted"
}

# now: seconds since the epoch, with fractions.
now() {
    date +%s.%N
}

# since T: seconds from T to now, one decimal.
since() {
    awk -v t="$1" -v n="$(now)" 'BEGIN { printf "%.1f", n - t }'
}

# muzzle_flash SHOT: the share of bright yellow pixels just above the virus at its starting place
# (x 0, top edge at y -1.3), where the firing looks carry their muzzle flash and the resting look
# has nothing.
muzzle_flash() {
    /usr/bin/convert "$1" -crop "$(world_box 0 -1.6 0 0.7 0.6)" +repage \
        -fx '(r > 0.8 && g > 0.55 && b < 0.5) ? 1 : 0' -format '%[fx:mean]\n' info: |
        awk '{ printf "%.3f\n", $1 }'
}

# virus_colour SHOT: the mean saturation of the middle of the virus at its starting place (x 0,
# y -2.8): high for the green living looks, low for the grey dying look.
virus_colour() {
    /usr/bin/convert "$1" -crop "$(world_box 0 -2.8 0 1.0 1.0)" +repage -colorspace HSL \
        -channel G -separate +channel -format '%[fx:mean]\n' info: | awk '{ printf "%.2f\n", $1 }'
}
