#include "enemies/bonuses.h"

#include "enemies/stage_clock.h"
#include "media/text.h"

namespace {

// Clips of the bonus-sound object.
constexpr int soundBloodPressure = 1;
constexpr int soundPerfectShooter = 3;
constexpr int soundHardRockin = 4;
constexpr int soundBeatmachine = 5;

constexpr std::uint32_t perfectShooterLength = 15000;
constexpr std::uint32_t bloodPressureSpentAfter = 17000;
constexpr std::uint32_t bloodPressureLength = 20000;

// A mode's start time of 0 means its clock has not started yet.
constexpr std::uint32_t unsetTime = 0;

void showLevelBonus(const char* name, const char* award) {
    drawText(name, -1.5f, 0.0f, 255, 255, 255, 30);
    drawText(award, -0.5f, -0.5f, 255, 255, 255, 30);
}

} // namespace

void startPerfectShooter(GameState& state) {
    state.play.perfectShooterActive = true;
    playSound(state.world.bonusSounds.sounds[soundPerfectShooter]);
}

void startBloodPressure(GameState& state) {
    state.play.bloodPressureActive = true;
    playSound(state.world.bonusSounds.sounds[soundBloodPressure]);
}

void runPerfectShooter(GameState& state) {
    PlayState& play = state.play;
    if (!play.perfectShooterActive) {
        return;
    }
    drawText("Perfect Shooter", -2.0f, 0.5f, 1, 1, 1, 30);
    if (play.perfectShooterStart == unsetTime) {
        play.perfectShooterStart = currentTime();
    }
    if (millisecondsSince(play.perfectShooterStart) > perfectShooterLength) {
        play.perfectShooterActive = false;
        play.perfectShooterStart = unsetTime;
    }
}

void runBloodPressure(GameState& state) {
    PlayState& play = state.play;
    if (!play.bloodPressureActive) {
        return;
    }
    drawText("Blood Pressure", -2.0f, 1.0f, 1, 1, 1, 30);
    if (play.bloodPressureStart == unsetTime) {
        play.bloodPressureStart = currentTime();
    }
    if (millisecondsSince(play.bloodPressureStart) > bloodPressureSpentAfter) {
        for (std::int32_t i = 0; i < play.redCellCount; ++i) {
            state.world.redCells[i].health = 0;
        }
    }
    if (millisecondsSince(play.bloodPressureStart) > bloodPressureLength) {
        play.bloodPressureActive = false;
        play.bloodPressureStart = unsetTime;
    }
}

bool bloodPressureSpendsRedCells(const PlayState& play) {
    // Started in this very frame, the clock is not running yet: no time has passed.
    return play.bloodPressureActive && play.bloodPressureStart != unsetTime &&
           millisecondsSince(play.bloodPressureStart) >= bloodPressureSpentAfter;
}

void showHardRockin(GameState& state) {
    showLevelBonus("Hard rockin'", "+50");
    if (!state.play.hardRockinPlayed) {
        playSound(state.world.bonusSounds.sounds[soundHardRockin]);
        state.play.hardRockinPlayed = true;
    }
}

void showBeatmachine(GameState& state) {
    showLevelBonus("Beatmachine", "+100");
    if (!state.play.beatmachineEarned) {
        playSound(state.world.bonusSounds.sounds[soundBeatmachine]);
        state.play.beatmachineEarned = true;
    }
}

void showNiceSlidin() {
    showLevelBonus("Nice slidin'", "+100");
}
