// Everything the program keeps for its whole run, owned by the entry point and passed by
// reference to every step.
#pragma once

#include "platform/platform.h"
#include "world/game_object.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The loops' own state.
struct LoopState {
    std::int32_t menuScreen = 0; // 0 main, 1 settings, 2 help, 3 high scores, 4 credits, 5 exit
    std::int32_t menuSelection = 0;
    bool quitRequested = false;
    std::int32_t leaveGame = 0;
    bool gameInProgress = false;
    bool shakeActive = false;
    float shakeAmplitude = 0;
    std::uint32_t frameCount = 0; // the frame-rate meter, shared by both loops
    std::uint32_t countStart = 0;
    WindowMessage lastMessage; // its wParam becomes the exit status
};

// Every record and pool of play, built once at start-up.
struct World {
    GameObject scrollingBackground;
    GameObject staticBackground; // also the music object
    GameObject bubbleTemplate;
    std::array<GameObject, 5> bubbles;
    GameObject player;
    GameObject firingLookA;
    GameObject firingLookB;
    GameObject restingLook;
    GameObject dyingLook;
    GameObject bulletTemplate;
    std::array<GameObject, 3> bullets;
    std::array<GameObject, 4> bulletLooks;
    std::array<GameObject, 3> impactFlashes;
    GameObject cellHealthBar;
    GameObject healthGauge;
    GameObject damageGauge;
    GameObject whiteCellTemplate;
    std::array<GameObject, 10> whiteCells;
    GameObject deadWhiteCellLook;
    TextureId revivedWhiteCellTexture = 0; // "qor_fver.png", loaded once and reused
    GameObject leftHalfTemplate;
    std::array<GameObject, 10> leftHalves;
    GameObject rightHalfTemplate;
    std::array<GameObject, 10> rightHalves;
    GameObject redCellTemplate;
    std::array<GameObject, 10> redCells;
    GameObject cigaretteLook;
    GameObject burntCigaretteLook;
    GameObject oilLook;
    GameObject syringeLook;
    GameObject explosion; // the explosion template, drawn as the explosion sprite
    std::array<GameObject, 10> explosionFrames;
    GameObject bonusSounds;
    bool lateMusicLoaded = false; // "ingame5.wav" is loaded once, at the first late level
};

// The game-wide values of play. Set once per run where start-up resets them; a new game resets
// only what its rules say.
struct PlayState {
    // the gun
    std::int32_t ammunition = 0;
    bool reloadLatch = false;
    float spread = 0;
    std::int32_t bulletDamage = 0;
    bool doubleDamageActive = false;
    std::uint32_t doubleDamageStart = 0;
    std::int32_t doubleDamageOilNeeded = 5;
    // UNHARMABLE
    bool unharmableActive = false;
    std::int32_t unharmableStart = 0; // <= 0: unset
    // bonuses and modes
    bool perfectShooterActive = false;
    std::uint32_t perfectShooterStart = 0;
    bool bloodPressureActive = false;
    std::uint32_t bloodPressureStart = 0;
    bool hardRockinPlayed = false;
    bool beatmachineEarned = false;
    // levels
    std::uint32_t levelStartTime = 0;
    std::int32_t bubbleCount = 0;
    std::int32_t whiteCellCount = 0;
    std::int32_t redCellCount = 0;
    // hits
    std::int32_t lastHitWhiteCell = 0;
    std::int32_t explosionSlot = -1;
    bool shakeHold = false;
};

// The menu screens' pictures and the settings screen's edit state.
struct MenuButton {
    GameObject normal;
    GameObject highlighted;
};

struct MenuState {
    GameObject background; // its slot 0 holds the menu music
    std::array<MenuButton, 6> mainButtons;
    // settings screen
    std::array<MenuButton, 7> settingsRows;
    std::array<GameObject, 2> onPictures;  // normal, marked
    std::array<GameObject, 2> offPictures; // normal, marked
    std::array<GameObject, 5> resolutionPictures;
    std::array<std::array<GameObject, 2>, 5> musicVolumePictures;
    std::array<std::array<GameObject, 2>, 5> effectsVolumePictures;
    std::string playerName;
    std::string editName;
    bool editFullScreen = false;
    std::int32_t editHeight = 0;
    std::int32_t editMusicVolume = 0;
    std::int32_t editEffectsVolume = 0;
    // help and credits
    std::vector<std::string> helpLines;
    std::vector<std::string> creditsLines;
};

struct HighScoreState {
    std::vector<std::string> highScoreLines;
    bool reloadHighScores = true;
};

struct StartupTimings;

struct GameState {
    LoopState loop;
    World world;
    PlayState play;
    MenuState menu;
    HighScoreState scores;
    // Set by the entry point when start-up is measured; the first menu frame writes the report.
    StartupTimings* startupTimings = nullptr;
};
