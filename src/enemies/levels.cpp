#include "enemies/levels.h"

#include "enemies/bonuses.h"
#include "enemies/stage_clock.h"
#include "media/text.h"

#include <string>

namespace {

// Clips of the static background, the music object.
constexpr int musicLevel = 0;     // "ingame2.wav"
constexpr int musicLateLevel = 1; // "ingame5.wav", loaded when level 3 first begins
constexpr int musicIntro = 2;     // "chainsaw.wav"

constexpr std::uint32_t countdownLength = 5000;

void setCounts(PlayState& play, std::int32_t bubbles, std::int32_t whiteCells,
               std::int32_t redCells) {
    play.bubbleCount = bubbles;
    play.whiteCellCount = whiteCells;
    play.redCellCount = redCells;
}

void showTitle(const char* title, float x) {
    drawText(title, x, 0.0f, 255, 255, 255, 30);
}

// Strictly inside the window, on the stage clock.
bool elapsedWithin(std::uint32_t start, std::uint32_t after, std::uint32_t before) {
    const std::uint32_t elapsed = millisecondsSince(start);
    return elapsed > after && elapsed < before;
}

bool titleTime(std::uint32_t start) {
    return elapsedWithin(start, 3000, 8000);
}

void beginLevel(GameState& state, std::int32_t level) {
    state.world.player.level = level;
    state.play.levelStartTime = currentTime();
}

void runCountdown(GameState& state) {
    PlayState& play = state.play;
    setCounts(play, 0, 0, 0);
    const std::uint32_t elapsed = millisecondsSince(play.levelStartTime);
    if (elapsed < countdownLength) {
        drawText("Prepare!!!", -1.25f, 0.0f, 255, 255, 255, 30);
        const std::string secondsLeft = std::to_string(5 - elapsed / 1000);
        drawText(secondsLeft.c_str(), 0.0f, -0.5f, 255, 255, 255, 20);
        return;
    }
    beginLevel(state, 1);
    GameObject& music = state.world.staticBackground;
    stopSound(music.sounds[musicIntro]);
    playSound(music.sounds[musicLevel]);
}

void runLevel1(GameState& state) {
    PlayState& play = state.play;
    GameObject& player = state.world.player;
    setCounts(play, 0, 3, 0);
    if (titleTime(play.levelStartTime)) {
        showTitle("Easy way boy", -1.5f);
    }
    if (millisecondsSince(play.levelStartTime) > 60000 && player.score >= 50) {
        beginLevel(state, 2);
        if (player.score >= 100) {
            player.score += hardRockinAward;
        }
    }
    // Read after a change, so the frame of the change still shows the bonus.
    if (millisecondsSince(play.levelStartTime) < 60000 && player.score >= 100) {
        showHardRockin(state);
    }
}

void startLateMusic(World& world) {
    GameObject& music = world.staticBackground;
    stopSound(music.sounds[musicLevel]);
    if (!world.lateMusicLoaded) {
        setSound(music, musicLateLevel, "ingame5.wav");
        world.lateMusicLoaded = true;
    }
    playSound(music.sounds[musicLateLevel]);
}

void runLevel2(GameState& state) {
    PlayState& play = state.play;
    GameObject& player = state.world.player;
    setCounts(play, 0, 3, 1);
    if (titleTime(play.levelStartTime)) {
        showTitle("Red Influence", -1.5f);
    }
    if (elapsedWithin(play.levelStartTime, 85000, 90000) && player.health >= 100) {
        showNiceSlidin();
    }
    if (elapsedWithin(play.levelStartTime, 55000, 60000) && player.score >= 250) {
        showBeatmachine(state);
    }
    if (millisecondsSince(play.levelStartTime) > 90000) {
        if (player.health >= 100) {
            player.score += niceSlidinAward;
        }
        if (play.beatmachineEarned) {
            player.score += beatmachineAward;
        }
        beginLevel(state, 3);
        startLateMusic(state.world);
    }
}

void runLevel3(GameState& state) {
    PlayState& play = state.play;
    const bool pressure = play.bloodPressureActive;
    setCounts(play, 1, 3, 1);
    if (titleTime(play.levelStartTime)) {
        showTitle("Artery", -1.0f);
    }
    if (millisecondsSince(play.levelStartTime) > 60000) {
        setCounts(play, 2, 4, pressure ? 4 : 1);
    }
    if (millisecondsSince(play.levelStartTime) > 90000) {
        setCounts(play, 2, 4, pressure ? 5 : 2);
    }
    if (millisecondsSince(play.levelStartTime) > 120000) {
        setCounts(play, 4, 4, pressure ? 6 : 3);
    }
}

} // namespace

void updateLevel(GameState& state) {
    switch (state.world.player.level) {
    case 0:
        runCountdown(state);
        break;
    case 1:
        runLevel1(state);
        break;
    case 2:
        runLevel2(state);
        break;
    case 3:
        runLevel3(state);
        break;
    default:
        break;
    }
}
