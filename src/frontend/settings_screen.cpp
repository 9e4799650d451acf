#include "frontend/settings_screen.h"

#include "frontend/main_menu.h"
#include "media/sound.h"
#include "media/text.h"
#include "platform/key_state.h"
#include "platform/settings.h"

#include <array>
#include <string>

namespace {

constexpr std::int32_t rowFullScreen = 0;
constexpr std::int32_t rowResolution = 1;
constexpr std::int32_t rowMusic = 2;
constexpr std::int32_t rowEffects = 3;
constexpr std::int32_t rowName = 4;
constexpr std::int32_t rowApply = 5;
constexpr std::int32_t rowCancel = 6;
constexpr std::int32_t rowCount = 7;

// The name takes keys while it has this many characters or fewer, so it never passes 15.
constexpr std::size_t nameRoomLimit = 14;

struct Resolution {
    std::int32_t height;
    std::int32_t width;
    const char* picture;
};

constexpr std::array<Resolution, 5> resolutions = {{
    {480, 640, "IMGS/640x480_1.png"},
    {600, 800, "IMGS/800x600_1.png"},
    {768, 1024, "IMGS/1024x768_1.png"},
    {1024, 1280, "IMGS/1280x1024_1.png"},
    {800, 1280, "IMGS/1280x800_1.png"},
}};

struct VolumePictures {
    std::int32_t volume;
    const char* normal;
    const char* marked;
    float x;
};

constexpr std::array<VolumePictures, 5> volumes = {{
    {0, "IMGS/0_0.png", "IMGS/0_1.png", -0.5f},
    {25, "IMGS/25_0.png", "IMGS/25_1.png", 0.0f},
    {50, "IMGS/50_0.png", "IMGS/50_1.png", 0.5f},
    {75, "IMGS/75_0.png", "IMGS/75_1.png", 1.0f},
    {100, "IMGS/100_0.png", "IMGS/100_1.png", 1.5f},
}};

constexpr float musicRowY = -0.5f;
constexpr float effectsRowY = -1.5f;

int resolutionIndex(std::int32_t height) {
    for (std::size_t i = 0; i < resolutions.size(); ++i) {
        if (resolutions[i].height == height) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int volumeIndex(std::int32_t volume) {
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        if (volumes[i].volume == volume) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int wrapIndex(int index, int step, int count) {
    return (index + step % count + count) % count;
}

bool pressed(int key) {
    return keyState[key] != 0;
}

void release(int key) {
    keyState[key] = 0;
}

void backToMainMenu(LoopState& loop) {
    loop.menuScreen = 0;
    loop.menuSelection = 0;
}

void drawVolumeRow(std::array<std::array<GameObject, 2>, 5>& pictures, std::int32_t volume) {
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        drawSprite(pictures[i][volumes[i].volume == volume ? 1 : 0]);
    }
}

// Left and Right act alike on every row but the resolution and volumes, which step one way.
void stepRow(LoopState& loop, MenuState& menu, int step) {
    switch (loop.menuSelection) {
    case rowFullScreen:
        menu.editFullScreen = !menu.editFullScreen;
        break;
    case rowResolution:
        menu.editHeight = stepResolution(menu.editHeight, step);
        break;
    case rowMusic:
        menu.editMusicVolume = stepVolume(menu.editMusicVolume, step);
        break;
    case rowEffects:
        menu.editEffectsVolume = stepVolume(menu.editEffectsVolume, step);
        break;
    case rowApply:
        loop.menuSelection = rowCancel;
        break;
    case rowCancel:
        loop.menuSelection = rowApply;
        break;
    default:
        break;
    }
}

// Space, Backspace and one capital letter a frame. A key the name cannot take stays set, so it
// is taken once there is room again.
void enterName(std::string& name) {
    if (pressed(vkSpace) && name.size() <= nameRoomLimit) {
        name.push_back(' ');
        release(vkSpace);
    }
    if (pressed(vkBack) && !name.empty()) {
        name.pop_back();
        release(vkBack);
    }
    for (int key = vkA; key <= vkZ; ++key) {
        if (pressed(key)) {
            if (name.size() <= nameRoomLimit) {
                name.push_back(static_cast<char>(key));
                release(key);
            }
            break;
        }
    }
}

} // namespace

void startSettings(MenuState& menu) {
    menu.playerName = "Unknown";
    menu.editName = menu.playerName;
    takeSettingsCopies(menu);
}

void takeSettingsCopies(MenuState& menu) {
    menu.editFullScreen = gameSettings.fullScreen;
    menu.editHeight = gameSettings.screenHeight;
    menu.editMusicVolume = gameSettings.musicVolume;
    menu.editEffectsVolume = gameSettings.effectsVolume;
}

void loadSettingsScreen(MenuState& menu) {
    std::array<MenuButton, rowCount>& rows = menu.settingsRows;
    rows[rowApply] = makeMenuButton("IMGS/apply0.png", "IMGS/apply1.png", -1.0f, -3.5f, 2.0f);
    rows[rowCancel] = makeMenuButton("IMGS/cancel0.png", "IMGS/cancel1.png", 1.0f, -3.5f, 2.0f);
    rows[rowName] =
        makeMenuButton("IMGS/playername0.png", "IMGS/playername1.png", -2.3f, -2.5f, 3.0f);
    rows[rowFullScreen] =
        makeMenuButton("IMGS/fullscreen0.png", "IMGS/fullscreen1.png", -1.5f, 1.5f, 2.0f);
    menu.onPictures[0] = makeMenuPicture("IMGS/on0.png", 0.5f, 1.5f, 2.0f);
    menu.onPictures[1] = makeMenuPicture("IMGS/on1.png", 0.5f, 1.5f, 2.0f);
    menu.offPictures[0] = makeMenuPicture("IMGS/off0.png", 1.5f, 1.5f, 2.0f);
    menu.offPictures[1] = makeMenuPicture("IMGS/off1.png", 1.5f, 1.5f, 2.0f);
    rows[rowResolution] =
        makeMenuButton("IMGS/resolution0.png", "IMGS/resolution1.png", -1.5f, 0.5f, 2.0f);
    for (std::size_t i = 0; i < resolutions.size(); ++i) {
        menu.resolutionPictures[i] = makeMenuPicture(resolutions[i].picture, 1.0f, 0.5f, 2.0f);
    }
    rows[rowMusic] = makeMenuButton("IMGS/music0.png", "IMGS/music1.png", -1.5f, -0.5f, 2.0f);
    rows[rowEffects] = makeMenuButton("IMGS/sfx0.png", "IMGS/sfx1.png", -1.5f, -1.5f, 2.0f);
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const VolumePictures& pictures = volumes[i];
        menu.musicVolumePictures[i][0] =
            makeMenuPicture(pictures.normal, pictures.x, musicRowY, 1.0f);
        menu.musicVolumePictures[i][1] =
            makeMenuPicture(pictures.marked, pictures.x, musicRowY, 1.0f);
    }
    // The effects row shows the same ten textures one row lower.
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        for (std::size_t form = 0; form < 2; ++form) {
            menu.effectsVolumePictures[i][form] = menu.musicVolumePictures[i][form];
            menu.effectsVolumePictures[i][form].y = effectsRowY;
        }
    }
}

void drawSettingsScreen(MenuState& menu, std::int32_t menuSelection) {
    if (menuSelection < rowCount) {
        for (std::int32_t row = 0; row < rowCount; ++row) {
            drawMenuButton(menu.settingsRows[row], row == menuSelection);
        }
    }
    if (!menu.editFullScreen) {
        drawSprite(menu.onPictures[0]);
        drawSprite(menu.offPictures[1]);
    } else {
        drawSprite(menu.onPictures[1]);
        drawSprite(menu.offPictures[0]);
    }
    const int resolution = resolutionIndex(menu.editHeight);
    if (resolution >= 0) {
        drawSprite(menu.resolutionPictures[resolution]);
    }
    drawVolumeRow(menu.musicVolumePictures, menu.editMusicVolume);
    drawVolumeRow(menu.effectsVolumePictures, menu.editEffectsVolume);
    drawText(menu.editName.c_str(), -0.5f, -3.0f, 0.0f, 0.0f, 0.0f, 30);
}

void handleSettingsEnter(LoopState& loop, MenuState& menu) {
    if (loop.menuSelection == rowApply) {
        applySettings(loop, menu);
    } else if (loop.menuSelection == rowCancel) {
        cancelSettings(loop, menu);
    }
    release(vkReturn);
}

void handleSettingsKeys(LoopState& loop, MenuState& menu) {
    if (pressed(vkLeft)) {
        stepRow(loop, menu, -1);
        release(vkLeft);
    }
    if (pressed(vkRight)) {
        stepRow(loop, menu, 1);
        release(vkRight);
    }
    if (loop.menuSelection == rowName) {
        enterName(menu.editName);
    }
}

void applySettings(LoopState& loop, MenuState& menu) {
    if (menu.editName.empty()) {
        menu.playerName = "Unknown";
        menu.editName = menu.playerName;
    } else {
        menu.playerName = menu.editName;
    }
    gameSettings.fullScreen = menu.editFullScreen;
    gameSettings.musicVolume = menu.editMusicVolume;
    gameSettings.effectsVolume = menu.editEffectsVolume;
    const int resolution = resolutionIndex(menu.editHeight);
    if (resolution >= 0) {
        gameSettings.screenWidth = resolutions[resolution].width;
        gameSettings.screenHeight = resolutions[resolution].height;
    }
    // Heard at once, on the music playing now as on every effect to come.
    applySoundVolumes(gameSettings.musicVolume, gameSettings.effectsVolume);
    backToMainMenu(loop);
}

void cancelSettings(LoopState& loop, MenuState& menu) {
    menu.editName = menu.playerName;
    takeSettingsCopies(menu);
    backToMainMenu(loop);
}

std::int32_t stepResolution(std::int32_t height, int step) {
    const int index = resolutionIndex(height);
    if (index < 0) {
        return height;
    }
    return resolutions[wrapIndex(index, step, static_cast<int>(resolutions.size()))].height;
}

std::int32_t stepVolume(std::int32_t volume, int step) {
    const int index = volumeIndex(volume);
    if (index < 0) {
        return volume;
    }
    return volumes[wrapIndex(index, step, static_cast<int>(volumes.size()))].volume;
}
