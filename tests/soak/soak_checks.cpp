#include "soak/soak_checks.h"

#include "media/sound.h"
#include "media/texture.h"

#include <cmath>
#include <sstream>

namespace {

constexpr int lateMusicSlot = 1; // of the static background
constexpr std::int32_t lastLevel = 3;
constexpr std::int32_t fullAmmunition = 300;
// Far outside anything the game places or moves a record to (the view is about +-5.5 by +-4.1),
// yet small enough to catch a record running away. Halves out of flight are the one exception:
// they are parked below the vessel and go on sinking there until the next split picks them up.
constexpr float farAway = 50.0f;

// Calls visit(record, name) on every record the game keeps, in the world and in the menu.
template <typename Visit> void forEachRecord(const GameState& state, Visit visit) {
    const World& w = state.world;
    for (const GameObject* single : {&w.scrollingBackground, &w.staticBackground,
                                     &w.bubbleTemplate,      &w.player,
                                     &w.firingLookA,         &w.firingLookB,
                                     &w.restingLook,         &w.dyingLook,
                                     &w.bulletTemplate,      &w.cellHealthBar,
                                     &w.healthGauge,         &w.damageGauge,
                                     &w.whiteCellTemplate,   &w.deadWhiteCellLook,
                                     &w.leftHalfTemplate,    &w.rightHalfTemplate,
                                     &w.redCellTemplate,     &w.cigaretteLook,
                                     &w.burntCigaretteLook,  &w.oilLook,
                                     &w.syringeLook,         &w.explosion,
                                     &w.bonusSounds,         &state.menu.background}) {
        visit(*single, "record");
    }
    const auto visitPool = [&visit](const auto& pool, const char* name) {
        for (const GameObject& record : pool) {
            visit(record, name);
        }
    };
    visitPool(w.bubbles, "bubble");
    visitPool(w.bullets, "bullet");
    visitPool(w.bulletLooks, "bullet look");
    visitPool(w.impactFlashes, "impact flash");
    visitPool(w.whiteCells, "white cell");
    visitPool(w.leftHalves, "left half");
    visitPool(w.rightHalves, "right half");
    visitPool(w.redCells, "red cell");
    visitPool(w.explosionFrames, "explosion frame");
    for (const MenuButton& button : state.menu.mainButtons) {
        visit(button.normal, "main button");
        visit(button.highlighted, "main button");
    }
    for (const MenuButton& button : state.menu.settingsRows) {
        visit(button.normal, "settings row");
        visit(button.highlighted, "settings row");
    }
    visitPool(state.menu.onPictures, "on picture");
    visitPool(state.menu.offPictures, "off picture");
    visitPool(state.menu.resolutionPictures, "resolution picture");
    for (const auto& pair : state.menu.musicVolumePictures) {
        visitPool(pair, "music volume picture");
    }
    for (const auto& pair : state.menu.effectsVolumePictures) {
        visitPool(pair, "effects volume picture");
    }
}

void addName(std::vector<bool>& names, std::uint32_t name) {
    if (name >= names.size()) {
        names.resize(name + 1, false);
    }
    names[name] = true;
}

bool knows(const std::vector<bool>& names, std::uint32_t name) {
    return name < names.size() && names[name];
}

bool finite(float value) {
    return std::isfinite(value);
}

std::string checkRecord(const SoakWatch& watch, const GameObject& record, bool sinks) {
    if (!knows(watch.knownTextures, record.texture)) {
        return "a texture start-up never made: " + std::to_string(record.texture);
    }
    for (const SoundClip& clip : record.sounds) {
        if (clip.source != 0 && !knows(watch.knownSources, clip.source)) {
            return "a sound source start-up never made: " + std::to_string(clip.source);
        }
    }
    for (float value : {record.x, record.y, record.z, record.angle, record.width, record.height,
                        record.speed, record.sway, record.velocityX, record.velocityY}) {
        if (!finite(value)) {
            return "a value that is not a number";
        }
    }
    if (std::fabs(record.x) > farAway || record.y > farAway || (!sinks && record.y < -farAway)) {
        std::ostringstream where;
        where << "far outside the vessel at " << record.x << ", " << record.y;
        return where.str();
    }
    return "";
}

std::string checkMedia(SoakWatch& watch, const GameState& state) {
    if (texturesCreated() != watch.texturesAtStart) {
        return "textures made after start-up: " +
               std::to_string(texturesCreated() - watch.texturesAtStart);
    }
    const std::uint32_t lateSource = state.world.staticBackground.sounds[lateMusicSlot].source;
    if (state.world.lateMusicLoaded && watch.lateMusicSource == 0) {
        watch.lateMusicSource = lateSource;
        addName(watch.knownSources, lateSource);
    }
    if (lateSource != watch.lateMusicSource) {
        return "the late-level music changed its source";
    }
    const std::uint32_t expectedClips = watch.clipsAtStart + (watch.lateMusicSource != 0 ? 1 : 0);
    if (clipsLoaded() != expectedClips) {
        return "clips made after start-up: " + std::to_string(clipsLoaded() - watch.clipsAtStart);
    }
    return "";
}

std::string checkLoop(const LoopState& loop) {
    if (loop.menuScreen < 0 || loop.menuScreen > 4) {
        return "menu screen " + std::to_string(loop.menuScreen);
    }
    const std::int32_t lastEntry = loop.menuScreen == 1 ? 6 : 5;
    if (loop.menuSelection < 0 || loop.menuSelection > lastEntry) {
        return "menu selection " + std::to_string(loop.menuSelection);
    }
    return "";
}

std::string checkPlay(const GameState& state) {
    const PlayState& play = state.play;
    const World& world = state.world;
    const auto within = [](std::int32_t value, std::int32_t low, std::int32_t high) {
        return value >= low && value <= high;
    };
    if (!within(play.bubbleCount, 0, static_cast<std::int32_t>(world.bubbles.size())) ||
        !within(play.whiteCellCount, 0, static_cast<std::int32_t>(world.whiteCells.size())) ||
        !within(play.redCellCount, 0, static_cast<std::int32_t>(world.redCells.size()))) {
        return "an active count larger than its pool";
    }
    if (!within(play.lastHitWhiteCell, 0, static_cast<std::int32_t>(world.whiteCells.size()) - 1)) {
        return "last hit white cell " + std::to_string(play.lastHitWhiteCell);
    }
    if (!within(play.explosionSlot, -1, static_cast<std::int32_t>(world.bubbles.size()) - 1)) {
        return "explosion slot " + std::to_string(play.explosionSlot);
    }
    if (!within(play.ammunition, 0, fullAmmunition)) {
        return "ammunition " + std::to_string(play.ammunition);
    }
    if (!finite(play.spread) || play.spread < 0) {
        return "spread not a small positive number";
    }
    if (!within(world.player.level, 0, lastLevel)) {
        return "level " + std::to_string(world.player.level);
    }
    return "";
}

// Within one game the score only grows and the levels come one at a time, in order.
std::string checkGameProgress(SoakWatch& watch, const GameState& state) {
    const GameObject& player = state.world.player;
    if (state.loop.gameInProgress && !watch.gameRunning) {
        watch.gameRunning = true;
        watch.gamesStarted += 1;
        watch.lastScore = player.score;
        watch.lastLevel = player.level;
    } else if (!state.loop.gameInProgress && watch.gameRunning) {
        watch.gameRunning = false;
        watch.gamesEnded += 1;
        watch.finalScores.push_back(watch.lastScore);
    }
    if (!watch.gameRunning) {
        return "";
    }
    if (player.score < watch.lastScore) {
        return "the score fell from " + std::to_string(watch.lastScore) + " to " +
               std::to_string(player.score);
    }
    if (player.level != watch.lastLevel && player.level != watch.lastLevel + 1) {
        return "level " + std::to_string(watch.lastLevel) + " went to " +
               std::to_string(player.level);
    }
    if (player.level == lastLevel && watch.lastLevel != lastLevel) {
        watch.lateLevelsReached += 1;
    }
    watch.lastScore = player.score;
    watch.lastLevel = player.level;
    if (player.score > watch.bestScore) {
        watch.bestScore = player.score;
    }
    return "";
}

} // namespace

void startWatch(SoakWatch& watch, const GameState& state) {
    watch.started = true;
    watch.texturesAtStart = texturesCreated();
    watch.clipsAtStart = clipsLoaded();
    addName(watch.knownTextures, state.world.revivedWhiteCellTexture);
    forEachRecord(state, [&watch](const GameObject& record, const char*) {
        addName(watch.knownTextures, record.texture);
        for (const SoundClip& clip : record.sounds) {
            if (clip.source != 0) {
                addName(watch.knownSources, clip.source);
            }
        }
    });
}

std::string checkFrame(SoakWatch& watch, const GameState& state) {
    std::string fault = checkMedia(watch, state);
    if (fault.empty()) {
        forEachRecord(state, [&](const GameObject& record, const char* name) {
            if (fault.empty()) {
                const bool half = record.type == kindTumble;
                const std::string found = checkRecord(watch, record, half);
                if (!found.empty()) {
                    fault = std::string(name) + ": " + found;
                }
            }
        });
    }
    if (fault.empty()) {
        fault = checkLoop(state.loop);
    }
    if (fault.empty()) {
        fault = checkPlay(state);
    }
    if (fault.empty()) {
        fault = checkGameProgress(watch, state);
    }
    return fault;
}
