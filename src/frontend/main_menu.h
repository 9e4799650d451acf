// The main menu (screen 0): the background with the menu music, six picture buttons, and the keys
// every menu screen shares.
#pragma once

#include "world/game_state.h"

#include <string>

// A menu picture at its place: z 1, upright, visible, the menu kind, a square of the given size.
GameObject makeMenuPicture(const std::string& pictureFile, float x, float y, float size);
// A normal and a highlighted picture at the same place.
MenuButton makeMenuButton(const std::string& normalPicture, const std::string& highlightedPicture,
                          float x, float y, float size);
void drawMenuButton(MenuButton& button, bool highlighted);

// Called by start-up after the game backgrounds: the menu background and its music, the six
// buttons, then the settings screen's pictures.
void loadMenuAssets(MenuState& menu);
// The background and its music, then the buttons in menu order, normal before highlighted.
void loadMainMenu(MenuState& menu);

// Every menu screen is drawn over this.
void drawMenuBackground(MenuState& menu);
void drawMainMenu(MenuState& menu, std::int32_t menuSelection);

// Called once per menu frame after the screen is drawn: Up, Down and Enter on every screen, then
// the settings screen's own keys. Enter on Play is left set: the menu loop starts the game on it
// once the frame has been shown.
void handleMenuKeys(LoopState& loop, MenuState& menu);

// The menu music from its beginning, whenever the menu loop is entered.
void startMenuMusic(MenuState& menu);
// When a game starts or resumes.
void stopMenuMusic(MenuState& menu);
