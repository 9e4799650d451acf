#!/usr/bin/env bash
# The installed game: `cmake --install` into a fresh prefix puts every file in place, and the
# launchers run the game from the player's own directory of links, keeping the player's files,
# bringing the links up to date after an upgrade or a move, and falling back to
# ~/.local/share/hemorune. Everything happens under one temporary directory.
# Usage: install_prefix.sh CMAKE BUILD_DIR TOOLS_DIR
set -u
CMAKE=$1
BUILD_DIR=$2
TOOLS_DIR=$3
RUN_DIR=$BUILD_DIR/run
source "$(dirname "$0")/../realwindow/lib/xtest.bash"

# Links are compared by their text, so every path starts from the resolved temporary directory.
ROOT=$(cd "$WORK_DIR" && pwd -P)
PREFIX=$ROOT/prefix
PROGRAMS=(hemorune hemorune-wide)
ICON_SIZES=(16 32 48 64 128 256)
# Mesa and OpenAL Soft look for caches and settings under these; keep them in the temporary tree.
export XDG_CACHE_HOME=$WORK_DIR/cache XDG_CONFIG_HOME=$WORK_DIR/config
# The failure report names the display, which is only set once a server runs.
export DISPLAY=${DISPLAY:-}

# ASan builds start slowly: the waits for the window and the first frame are generous.

# close_until_exit WINDOW: window closes until the program ends (a close during play only
# returns to the menu), then PROGRAM_STATUS is its status.
close_until_exit() {
    for _ in $(seq 60); do
        "$TOOLS_DIR/send-close" "$1" 2>/dev/null
        for _ in $(seq 20); do
            kill -0 "$PROGRAM_PID" 2>/dev/null || break 2
            sleep 0.1
        done
    done
    wait_program_status
}

# start_launcher COMMAND ENV...: the installed command under `env ENV...`, in its own process group.
start_launcher() {
    local command=$1
    shift
    (exec setsid env "$@" "$command" --an-ignored-argument) >"$WORK_DIR/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# links_match DIR DATA SKIP...: every entry of DATA but SKIP has a link of its name in DIR to it.
links_match() {
    local dir=$1 data=$2 entry name
    shift 2
    for entry in "$data"/*; do
        name=${entry##*/}
        case " $* " in *" $name "*) continue ;; esac
        [ -L "$dir/$name" ] || fail "$dir/$name is not a link"
        [ "$(readlink "$dir/$name")" = "$entry" ] ||
            fail "$dir/$name leads to '$(readlink "$dir/$name")', not $entry"
    done
}

check_installed_files() {
    "$CMAKE" --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK_DIR/install.log" 2>&1 ||
        { cat "$WORK_DIR/install.log" >&2; fail "cmake --install failed"; }

    local program
    for program in "${PROGRAMS[@]}"; do
        local launcher=$PREFIX/bin/$program binary=$PREFIX/libexec/hemorune/$program
        [ -x "$launcher" ] || fail "$launcher is missing or not executable"
        [ "$(head -n 1 "$launcher")" = "#!/bin/sh" ] || fail "$launcher is not a sh script"
        sh -n "$launcher" || fail "$launcher does not parse as sh"
        grep -q '@HEMORUNE' "$launcher" && fail "$launcher has unconfigured names"
        [ -x "$binary" ] || fail "$binary is missing or not executable"
        [ "$(head -c 4 "$binary" | tail -c 3)" = "ELF" ] || fail "$binary is not a program"
    done

    # The data are the run directory's generated files: no program, no high scores.
    local expected actual file
    expected=$(cd "$RUN_DIR" && find . -type f ! -name hemorune ! -name hemorune-wide \
        ! -name 'hiscore.txt*' | sort)
    actual=$(cd "$PREFIX/share/hemorune" && find . ! -type d | sort)
    [ -n "$expected" ] || fail "the build's run directory holds no data"
    [ "$expected" = "$actual" ] ||
        fail "installed data differ from the run directory's:
$(diff <(echo "$expected") <(echo "$actual"))"
    while read -r file; do
        cmp -s "$RUN_DIR/$file" "$PREFIX/share/hemorune/$file" || fail "$file differs"
    done <<<"$actual"
    "$TOOLS_DIR/hemorune-assets" check "$PREFIX/share/hemorune" >"$WORK_DIR/check.log" 2>&1 ||
        { cat "$WORK_DIR/check.log" >&2; fail "the installed data do not load"; }

    local desktop=$PREFIX/share/applications/hemorune.desktop
    [ -f "$desktop" ] || fail "no desktop entry"
    desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
    grep -qx 'Exec=hemorune' "$desktop" || fail "desktop entry: Exec"
    grep -qx 'Icon=hemorune' "$desktop" || fail "desktop entry: Icon"
    grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry: Categories"

    local size icon
    for size in "${ICON_SIZES[@]}"; do
        icon=$PREFIX/share/icons/hicolor/${size}x${size}/apps/hemorune.png
        [ -f "$icon" ] || fail "no ${size}x${size} icon"
        [ "$(/usr/bin/identify -format '%wx%h %[channels]' "$icon")" = "${size}x${size} srgba" ] ||
            fail "$icon is $(/usr/bin/identify "$icon")"
    done

    local man=$PREFIX/share/man
    [ -f "$man/man6/hemorune.6" ] || fail "no manual page"
    groff -man -Tutf8 -ww -z "$man/man6/hemorune.6" 2>"$WORK_DIR/groff.log"
    [ -s "$WORK_DIR/groff.log" ] && { cat "$WORK_DIR/groff.log" >&2; fail "groff warns"; }
    local page section
    for page in hemorune hemorune-wide; do
        (cd "$man" && MANWIDTH=80 man -P cat -l "man6/$page.6") >"$WORK_DIR/$page.txt" 2>&1 ||
            fail "man cannot show $page.6"
        for section in NAME SYNOPSIS DESCRIPTION CONTROLS FILES ENVIRONMENT 'EXIT STATUS' \
            'SEE ALSO'; do
            grep -qx "$section" "$WORK_DIR/$page.txt" || fail "$page.6 has no $section"
        done
        grep -q 'hemorune-wide' "$WORK_DIR/$page.txt" || fail "$page.6 does not name hemorune-wide"
    done
    [ -f "$PREFIX/share/doc/hemorune/README.md" ] || fail "no README"
    echo "ok: every file installed"
}

# A player directory with high scores, a file of the player's own in place of an installed one
# and a link left by an install that is gone: the scores and the own file stay, the old link
# goes, every other installed file gets its link, and the game starts and closes with 0.
check_first_run() {
    local home=$ROOT/home xdg=$ROOT/xdg
    local dir=$xdg/hemorune data=$PREFIX/share/hemorune
    mkdir -p "$home" "$dir"
    printf 'TESTER        4242\nSECOND        1000' >"$dir/hiscore.txt"
    cp "$dir/hiscore.txt" "$WORK_DIR/hiscore.before"
    printf 'MY OWN CREDITS\n' >"$dir/credits.txt"
    ln -s "$ROOT/old-prefix/share/hemorune/old.wav" "$dir/old.wav"

    start_x 800x600
    local round window
    for round in first second; do
        if [ "$round" = second ]; then
            # An upgrade that adds one file and drops another.
            printf 'new\n' >"$data/extra.txt"
            rm "$data/help.txt"
        fi
        start_launcher "$PREFIX/bin/hemorune" HOME="$home" XDG_DATA_HOME="$xdg"
        window=$(find_window Hemorune 120) || fail "$round run: no window titled Hemorune"
        wait_first_frame 180
        close_until_exit "$window"
        [ "$PROGRAM_STATUS" = 0 ] || fail "$round run: close in the menu ended with '$PROGRAM_STATUS'"

        [ -f "$dir/hiscore.txt" ] && [ ! -L "$dir/hiscore.txt" ] ||
            fail "$round run: hiscore.txt is not a plain file"
        cmp -s "$dir/hiscore.txt" "$WORK_DIR/hiscore.before" ||
            fail "$round run: hiscore.txt changed"
        [ "$(cat "$dir/credits.txt")" = "MY OWN CREDITS" ] ||
            fail "$round run: the player's own credits.txt was replaced"
        [ -e "$dir/old.wav" ] || [ -L "$dir/old.wav" ] && fail "$round run: the old link stayed"
        links_match "$dir" "$data" credits.txt
        [ -e "$home/.local" ] && fail "$round run: wrote under HOME despite XDG_DATA_HOME"
        echo "ok: $round run in \$XDG_DATA_HOME/hemorune"
    done
    [ -L "$dir/extra.txt" ] || fail "no link to the file the upgrade added"
    [ -e "$dir/help.txt" ] || [ -L "$dir/help.txt" ] &&
        fail "the link to the file the upgrade dropped stayed"
    stop_all
}

# XDG_DATA_HOME unset, the install moved and the command reached through a link of its own: the
# directory is made under HOME with an empty hiscore.txt, and links into the moved install; a game
# ended with F2 writes its score into it.
check_default_directory() {
    local moved=$ROOT/moved home=$ROOT/home2
    mv "$PREFIX" "$moved"
    mkdir -p "$WORK_DIR/path" "$home"
    ln -s "$moved/bin/hemorune-wide" "$WORK_DIR/path/hemorune-wide"
    local dir=$home/.local/share/hemorune

    start_x 1280x800
    start_launcher "$WORK_DIR/path/hemorune-wide" -u XDG_DATA_HOME HOME="$home"
    local window
    window=$(find_window Hemorune 120) || fail "hemorune-wide: no window titled Hemorune"
    wait_first_frame 180
    [ -f "$dir/hiscore.txt" ] && [ ! -L "$dir/hiscore.txt" ] && [ ! -s "$dir/hiscore.txt" ] ||
        fail "hemorune-wide: no empty hiscore.txt of the player's own"
    links_match "$dir" "$moved/share/hemorune"

    hold Return 0.4
    sleep 1
    hold F2 0.4
    for _ in $(seq 600); do
        [ -s "$dir/hiscore.txt" ] && break
        sleep 0.1
    done
    grep -Eqx 'Unknown {7}-?[0-9]+' "$dir/hiscore.txt" ||
        fail "hemorune-wide: the ended game left '$(cat "$dir/hiscore.txt")' in hiscore.txt"
    [ -L "$dir/hiscore.txt" ] && fail "hemorune-wide: hiscore.txt became a link"
    close_until_exit "$window"
    [ "$PROGRAM_STATUS" = 0 ] || fail "hemorune-wide: close ended with '$PROGRAM_STATUS'"
    local left
    for left in "$dir"/hiscore.txt.*; do
        [ -e "$left" ] && fail "a temporary high-score file was left behind: $left"
    done
    stop_all
    echo "ok: hemorune-wide in ~/.local/share/hemorune from a moved install"
}

# A directory that cannot be made: a clear message and status 1, and no game.
check_unusable_directory() {
    printf 'not a directory\n' >"$WORK_DIR/a-file"
    local status=0
    env HOME="$WORK_DIR/home3" XDG_DATA_HOME="$WORK_DIR/a-file" DISPLAY= \
        "$WORK_DIR/moved/bin/hemorune" >"$WORK_DIR/refused.log" 2>&1 || status=$?
    [ "$status" = 1 ] || fail "an unusable directory ended with '$status'"
    grep -q "^hemorune: cannot create the directory $WORK_DIR/a-file/hemorune" \
        "$WORK_DIR/refused.log" || fail "unclear message: $(cat "$WORK_DIR/refused.log")"
    echo "ok: an unusable directory is refused"
}

check_installed_files
check_first_run
check_default_directory
check_unusable_directory
