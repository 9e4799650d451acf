#include "frontend/main_menu.h"

#include "frontend/settings_screen.h"
#include "platform/key_state.h"

#include <array>

namespace {

constexpr std::int32_t screenMain = 0;
constexpr std::int32_t screenSettings = 1;
constexpr std::int32_t screenHelp = 2;
constexpr std::int32_t screenCredits = 4;
constexpr std::int32_t buttonCount = 6;

struct ButtonPictures {
    const char* normal;
    const char* highlighted;
    float y;
};

// In menu order: an entry's index is the screen it opens.
constexpr std::array<ButtonPictures, buttonCount> mainButtonPictures = {{
    {"IMGS/play0.png", "IMGS/play1.png", 1.5f},
    {"IMGS/settings0.png", "IMGS/settings1.png", 0.5f},
    {"IMGS/help0.png", "IMGS/help1.png", -0.5f},
    {"IMGS/highscore0.png", "IMGS/highscore1.png", -1.5f},
    {"IMGS/credits0.png", "IMGS/credits1.png", -2.5f},
    {"IMGS/exit0.png", "IMGS/exit1.png", -3.5f},
}};

bool pressed(int key) {
    return keyState[key] != 0;
}

void release(int key) {
    keyState[key] = 0;
}

// Up and Down move the highlight on the main menu and the settings screen alike: the settings
// screen's Cancel (row 6) goes up to the name row, and both screens wrap at their ends.
bool hasHighlight(std::int32_t screen) {
    return screen == screenMain || screen == screenSettings;
}

void handleUp(LoopState& loop) {
    if (!pressed(vkUp)) {
        return;
    }
    if (hasHighlight(loop.menuScreen)) {
        if (loop.menuSelection == 0) {
            loop.menuSelection = 5;
        } else if (loop.menuSelection == 6) {
            loop.menuSelection = 4;
        } else {
            loop.menuSelection -= 1;
        }
    }
    release(vkUp);
}

void handleDown(LoopState& loop) {
    if (!pressed(vkDown)) {
        return;
    }
    if (hasHighlight(loop.menuScreen)) {
        if (loop.menuSelection <= 4) {
            loop.menuSelection += 1;
        } else {
            loop.menuSelection = 0;
        }
    }
    release(vkDown);
}

void handleEnter(LoopState& loop, MenuState& menu) {
    if (!pressed(vkReturn)) {
        return;
    }
    if (loop.menuScreen == screenMain) {
        loop.menuScreen = loop.menuSelection;
        loop.menuSelection = 0;
        // Play keeps the flag: the menu loop's start test reads and consumes it.
        if (loop.menuScreen != screenMain) {
            release(vkReturn);
        }
    } else if (loop.menuScreen == screenSettings) {
        handleSettingsEnter(loop, menu);
    } else if (loop.menuScreen >= screenHelp && loop.menuScreen <= screenCredits) {
        // Help, high scores and credits: back to the main menu with Play, not their own entry.
        loop.menuScreen = screenMain;
        loop.menuSelection = 0;
        release(vkReturn);
    }
}

} // namespace

GameObject makeMenuPicture(const std::string& pictureFile, float x, float y, float size) {
    GameObject picture = makeGameObject(pictureFile);
    picture.x = x;
    picture.y = y;
    picture.z = 1.0f;
    picture.angle = 0;
    picture.visible = true;
    picture.type = kindMenu;
    picture.height = size;
    picture.width = size;
    picture.health = 100;
    return picture;
}

MenuButton makeMenuButton(const std::string& normalPicture, const std::string& highlightedPicture,
                          float x, float y, float size) {
    MenuButton button;
    button.normal = makeMenuPicture(normalPicture, x, y, size);
    button.highlighted = makeMenuPicture(highlightedPicture, x, y, size);
    return button;
}

void drawMenuButton(MenuButton& button, bool highlighted) {
    drawSprite(highlighted ? button.highlighted : button.normal);
}

void loadMenuAssets(MenuState& menu) {
    loadMainMenu(menu);
    loadSettingsScreen(menu);
}

void loadMainMenu(MenuState& menu) {
    GameObject background = makeGameObject("IMGS/back.png");
    background.x = 0;
    background.y = 0;
    background.z = -2.5f;
    background.angle = 0;
    background.visible = true;
    // The spin kind makes the music loop; the background itself is never stepped.
    background.type = kindSpin;
    background.height = 10.4f;
    background.width = 13.8f;
    setSound(background, 0, "menu2.wav");
    menu.background = background;
    for (int i = 0; i < buttonCount; ++i) {
        const ButtonPictures& pictures = mainButtonPictures[i];
        menu.mainButtons[i] =
            makeMenuButton(pictures.normal, pictures.highlighted, 0.0f, pictures.y, 2.0f);
    }
}

void drawMenuBackground(MenuState& menu) {
    drawSprite(menu.background);
}

void drawMainMenu(MenuState& menu, std::int32_t menuSelection) {
    if (menuSelection < 0 || menuSelection >= buttonCount) {
        return;
    }
    for (int i = 0; i < buttonCount; ++i) {
        drawMenuButton(menu.mainButtons[i], i == menuSelection);
    }
}

void handleMenuKeys(LoopState& loop, MenuState& menu) {
    handleUp(loop);
    handleDown(loop);
    handleEnter(loop, menu);
    // Apply or Cancel may just have left the screen; its other keys then wait.
    if (loop.menuScreen == screenSettings) {
        handleSettingsKeys(loop, menu);
    }
}

void startMenuMusic(MenuState& menu) {
    playSound(menu.background.sounds[0]);
}

void stopMenuMusic(MenuState& menu) {
    stopSound(menu.background.sounds[0]);
}
