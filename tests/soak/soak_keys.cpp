#include "soak/soak_keys.h"

#include "platform/key_state.h"

namespace {

// How long each key of play stays down and stays up, in frames: firing in bursts (a long burst
// scatters the bullets until they do no damage), reloading now and then, Up and Down wandering.
// Left and Right are held on a schedule of their own (below).
struct KeySchedule {
    int key;
    std::uint32_t downMin, downMax;
    std::uint32_t upMin, upMax;
};

constexpr std::array<KeySchedule, 4> playSchedules = {{
    {vkUp, 4, 40, 40, 400},
    {vkDown, 4, 40, 40, 400},
    {vkControl, 5, 60, 1, 10},
    {vkShift, 1, 6, 30, 500},
}};

// Sideways moves: held for a random span, towards the lowest white cell more often than not, so
// that enough cells are shot for the levels to move on; rests between them.
constexpr std::uint32_t sidewaysMin = 4;
constexpr std::uint32_t sidewaysMax = 40;
constexpr std::uint32_t restMin = 10;
constexpr std::uint32_t restMax = 120;
constexpr std::uint32_t aimedPercent = 70;

// Rare events of play, in frames between them (a virtual hour is about 225,000 frames).
constexpr std::uint32_t closeGapMin = 15'000;
constexpr std::uint32_t closeGapMax = 45'000;
constexpr std::uint32_t f1GapMin = 8'000;
constexpr std::uint32_t f1GapMax = 30'000;

constexpr std::int32_t screenMain = 0;
constexpr std::int32_t screenSettings = 1;
constexpr std::int32_t entryExit = 5;
constexpr std::int32_t rowApply = 5;
constexpr std::int32_t rowCancel = 6;

std::uint32_t between(SoakPlayer& player, std::uint32_t low, std::uint32_t high) {
    return std::uniform_int_distribution<std::uint32_t>(low, high)(player.random);
}

bool inGame(const GameState& state) {
    return state.loop.gameInProgress && state.loop.leaveGame == 0;
}

// The side the lowest live white cell above the player is on; 0 when there is none.
int sideOfTarget(const GameState& state) {
    const GameObject& virus = state.world.player;
    float lowest = 100.0f;
    int side = 0;
    for (std::int32_t i = 0; i < state.play.whiteCellCount; ++i) {
        const GameObject& cell = state.world.whiteCells[i];
        if (cell.visible && cell.health >= 0 && cell.y > virus.y && cell.y < lowest) {
            lowest = cell.y;
            side = cell.x < virus.x ? vkLeft : vkRight;
        }
    }
    return side;
}

void moveSideways(SoakPlayer& player, const GameState& state, FakePlatform& fake) {
    if (player.frame < player.sidewaysChangeAt) {
        return;
    }
    if (player.sidewaysKey != 0) {
        releaseKey(fake, player.sidewaysKey);
        player.sidewaysKey = 0;
        player.sidewaysChangeAt = player.frame + between(player, restMin, restMax);
        return;
    }
    const int aimed = sideOfTarget(state);
    const bool aim = aimed != 0 && between(player, 1, 100) <= aimedPercent;
    player.sidewaysKey = aim ? aimed : (between(player, 0, 1) == 0 ? vkLeft : vkRight);
    pressKey(fake, player.sidewaysKey);
    player.sidewaysChangeAt = player.frame + between(player, sidewaysMin, sidewaysMax);
}

void enterPlay(SoakPlayer& player) {
    player.inPlay = true;
    for (std::size_t i = 0; i < playSchedules.size(); ++i) {
        player.playKeys[i] =
            HeldKey{playSchedules[i].key, false, player.frame + between(player, 0, 30)};
    }
    player.sidewaysKey = 0;
    player.sidewaysChangeAt = player.frame + between(player, 0, 30);
    player.nextCloseAt = player.frame + between(player, closeGapMin, closeGapMax);
    player.nextF1At = player.frame + between(player, f1GapMin, f1GapMax);
}

// Lets go of everything play held; the menu then starts with no key of play down.
void leavePlay(SoakPlayer& player, FakePlatform& fake) {
    player.inPlay = false;
    for (HeldKey& held : player.playKeys) {
        if (held.down) {
            releaseKey(fake, held.key);
            held.down = false;
        }
    }
    if (player.sidewaysKey != 0) {
        releaseKey(fake, player.sidewaysKey);
        player.sidewaysKey = 0;
    }
    if (player.f1Down) {
        releaseKey(fake, vkF1);
        player.f1Down = false;
    }
    // Mostly straight back to Play; sometimes a long look round the menu.
    const std::uint32_t roll = between(player, 0, 99);
    const std::uint32_t wander = roll < 70   ? between(player, 0, 60)
                                 : roll < 95 ? between(player, 60, 600)
                                             : between(player, 600, 3000);
    player.wanderUntil = player.frame + wander;
    player.nextMenuPressAt = player.frame + between(player, 1, 10);
}

void playKeysOfPlay(SoakPlayer& player, const GameState& state, FakePlatform& fake) {
    moveSideways(player, state, fake);
    for (std::size_t i = 0; i < playSchedules.size(); ++i) {
        HeldKey& held = player.playKeys[i];
        if (player.frame < held.changeAt) {
            continue;
        }
        const KeySchedule& schedule = playSchedules[i];
        held.down = !held.down;
        if (held.down) {
            pressKey(fake, held.key);
            held.changeAt = player.frame + between(player, schedule.downMin, schedule.downMax);
        } else {
            releaseKey(fake, held.key);
            held.changeAt = player.frame + between(player, schedule.upMin, schedule.upMax);
        }
    }
    if (player.f1Down) {
        releaseKey(fake, vkF1);
        player.f1Down = false;
    } else if (player.frame >= player.nextF1At) {
        pressKey(fake, vkF1);
        player.f1Down = true;
        player.frameRateBoxes += 1;
        player.nextF1At = player.frame + between(player, f1GapMin, f1GapMax);
    }
    if (player.frame >= player.nextCloseAt) {
        closeWindow(fake);
        player.closesInPlay += 1;
        player.nextCloseAt = player.frame + between(player, closeGapMin, closeGapMax);
    }
}

int wanderKey(SoakPlayer& player, const LoopState& loop) {
    const std::uint32_t roll = between(player, 0, 99);
    if (roll < 20) {
        return vkUp;
    }
    if (roll < 40) {
        return vkDown;
    }
    if (roll < 50) {
        return vkLeft;
    }
    if (roll < 60) {
        return vkRight;
    }
    if (roll < 75) {
        // Enter on Exit would end the program.
        const bool onExit = loop.menuScreen == screenMain && loop.menuSelection == entryExit;
        return onExit ? vkDown : vkReturn;
    }
    if (roll < 78) {
        return vkSpace;
    }
    if (roll < 83) {
        return vkBack;
    }
    if (roll < 98) {
        return vkA + static_cast<int>(between(player, 0, vkZ - vkA));
    }
    return vkF1;
}

// The way back to Play from wherever the menu stands.
int keyTowardsPlay(const LoopState& loop) {
    if (loop.menuScreen == screenMain) {
        return loop.menuSelection == 0 ? vkReturn : vkUp;
    }
    if (loop.menuScreen == screenSettings) {
        const bool onButton = loop.menuSelection == rowApply || loop.menuSelection == rowCancel;
        return onButton ? vkReturn : vkDown;
    }
    return vkReturn; // help, high scores and credits go back to the main menu
}

// One key at a time: the menu reads a press in the frame after it is queued, and a second key
// in the same pump could move the highlight under an Enter.
void playMenuKeys(SoakPlayer& player, const GameState& state, FakePlatform& fake) {
    if (player.menuKeyDown != 0) {
        if (player.frame >= player.menuReleaseAt) {
            releaseKey(fake, player.menuKeyDown);
            player.menuKeyDown = 0;
        }
        return;
    }
    if (player.finishing) {
        closeWindow(fake);
        return;
    }
    if (player.frame < player.nextMenuPressAt) {
        return;
    }
    const bool wandering = player.frame < player.wanderUntil;
    const int key = wandering ? wanderKey(player, state.loop) : keyTowardsPlay(state.loop);
    pressKey(fake, key);
    player.menuKeyDown = key;
    player.menuReleaseAt = player.frame + between(player, 1, 4);
    player.nextMenuPressAt = player.menuReleaseAt + (wandering ? between(player, 1, 20) : 1);
}

} // namespace

SoakPlayer makeSoakPlayer(std::uint32_t seed) {
    SoakPlayer player;
    player.random.seed(seed);
    return player;
}

void playSoakFrame(SoakPlayer& player, const GameState& state, FakePlatform& fake) {
    player.frame += 1;
    if (inGame(state)) {
        // The dying sequence reads no keys; whatever is queued now waits for the menu.
        if (state.world.player.health < 1) {
            return;
        }
        if (!player.inPlay) {
            enterPlay(player);
        }
        if (player.finishing) {
            closeWindow(fake);
            return;
        }
        playKeysOfPlay(player, state, fake);
        return;
    }
    if (player.inPlay) {
        leavePlay(player, fake);
    }
    playMenuKeys(player, state, fake);
}
