#include "menu_fixtures.h"

#include "platform/key_state.h"
#include "platform/settings.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

const std::vector<std::string> mainButtonsNormal = {"IMGS/play0.png",    "IMGS/settings0.png",
                                                    "IMGS/help0.png",    "IMGS/highscore0.png",
                                                    "IMGS/credits0.png", "IMGS/exit0.png"};
const std::vector<std::string> mainButtonsHighlighted = {"IMGS/play1.png",    "IMGS/settings1.png",
                                                         "IMGS/help1.png",    "IMGS/highscore1.png",
                                                         "IMGS/credits1.png", "IMGS/exit1.png"};
const float buttonY[] = {1.5f, 0.5f, -0.5f, -1.5f, -2.5f, -3.5f};

class MainMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        installFakePlatform();
        state = std::make_unique<GameState>();
        resetMenuState(*state, 0, 0);
    }
    void TearDown() override { keyState.fill(0); }

    // The main menu as the next frame shows it: the buttons' pictures after the background.
    std::vector<std::string> buttonsShown() {
        std::vector<std::string> pictures = picturesDrawn(runMenuFrame(*state));
        EXPECT_FALSE(pictures.empty());
        if (!pictures.empty()) {
            EXPECT_EQ(pictures.front(), "IMGS/back.png");
            pictures.erase(pictures.begin());
        }
        return pictures;
    }

    std::unique_ptr<GameState> state;
};

TEST_F(MainMenuTest, LoadsEveryPictureInOrderWithTheMusicLoopingInSlotZero) {
    const MenuState& menu = loadedMenu();
    std::vector<std::uint32_t> textures = {menu.background.texture};
    for (const MenuButton& button : menu.mainButtons) {
        textures.push_back(button.normal.texture);
        textures.push_back(button.highlighted.texture);
    }
    for (std::size_t i = 0; i < textures.size(); ++i) {
        EXPECT_EQ(pictureOf(textures[i]), menuPictureFiles()[i]) << "load " << i;
        if (i > 0) {
            EXPECT_GT(textures[i], textures[i - 1]) << "loaded after the one before";
        }
    }
    const SoundClip& music = menu.background.sounds[0];
    ASSERT_NE(music.source, 0u);
    ALint looping = AL_FALSE;
    alGetSourcei(music.source, AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    ALint bytes = 0;
    alGetBufferi(music.buffer, AL_SIZE, &bytes);
    EXPECT_EQ(bytes, 2 * fixtureMusicRate * fixtureMusicSeconds) << "menu2.wav";
    for (std::size_t slot = 1; slot < menu.background.sounds.size(); ++slot) {
        EXPECT_EQ(menu.background.sounds[slot].source, 0u) << "slot " << slot;
    }
}

TEST_F(MainMenuTest, BackgroundAndButtonsHaveTheirPlacesAndSizes) {
    const MenuState& menu = loadedMenu();
    const GameObject& background = menu.background;
    EXPECT_EQ(background.x, 0.0f);
    EXPECT_EQ(background.y, 0.0f);
    EXPECT_EQ(background.z, -2.5f);
    EXPECT_EQ(background.angle, 0.0f);
    EXPECT_TRUE(background.visible);
    EXPECT_EQ(background.type, kindSpin);
    EXPECT_EQ(background.height, 10.4f);
    EXPECT_EQ(background.width, 13.8f);
    for (int i = 0; i < 6; ++i) {
        for (const GameObject* picture :
             {&menu.mainButtons[i].normal, &menu.mainButtons[i].highlighted}) {
            EXPECT_EQ(picture->x, 0.0f) << "entry " << i;
            EXPECT_EQ(picture->y, buttonY[i]) << "entry " << i;
            EXPECT_EQ(picture->z, 1.0f) << "entry " << i;
            EXPECT_EQ(picture->angle, 0.0f) << "entry " << i;
            EXPECT_TRUE(picture->visible) << "entry " << i;
            EXPECT_EQ(picture->type, kindMenu) << "entry " << i;
            EXPECT_EQ(picture->height, 2.0f) << "entry " << i;
            EXPECT_EQ(picture->width, 2.0f) << "entry " << i;
            EXPECT_EQ(picture->health, 100) << "entry " << i;
        }
    }
}

TEST_F(MainMenuTest, DrawsTheBackgroundThenEachEntryHighlightedOnlyWhenSelected) {
    for (std::int32_t selection = 0; selection < 6; ++selection) {
        state->loop.menuSelection = selection;
        std::vector<std::string> expected = mainButtonsNormal;
        expected[selection] = mainButtonsHighlighted[selection];
        const std::vector<DrawRecord> log = runMenuFrame(*state);
        ASSERT_EQ(log.size(), 7u);
        EXPECT_EQ(log[0].z, -2.5f);
        EXPECT_EQ(log[0].width, 13.8f);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(log[i + 1].y, buttonY[i]);
        }
        EXPECT_EQ(buttonsShown(), expected) << "selection " << selection;
    }
}

TEST_F(MainMenuTest, ASelectionOutsideTheEntriesDrawsNoButton) {
    for (std::int32_t selection : {-1, 6, 7}) {
        state->loop.menuSelection = selection;
        EXPECT_TRUE(buttonsShown().empty()) << "selection " << selection;
    }
}

TEST_F(MainMenuTest, UpAndDownMoveOneEntryAndWrapAround) {
    struct Case {
        std::int32_t from;
        int key;
        std::int32_t to;
    };
    const Case cases[] = {{0, vkUp, 5},   {5, vkUp, 4},   {3, vkUp, 2},   {1, vkUp, 0},
                          {5, vkDown, 0}, {4, vkDown, 5}, {0, vkDown, 1}, {2, vkDown, 3}};
    for (const Case& c : cases) {
        state->loop.menuSelection = c.from;
        runMenuFrame(*state, {c.key});
        EXPECT_EQ(state->loop.menuSelection, c.to) << "from " << c.from << " key " << c.key;
        EXPECT_EQ(keyState[c.key], 0) << "the press is used up";
        EXPECT_EQ(state->loop.menuScreen, 0);
    }
}

TEST_F(MainMenuTest, UpOnPlayHighlightsExitAndDownOnExitHighlightsPlay) {
    runMenuFrame(*state, {vkUp});
    std::vector<std::string> expected = mainButtonsNormal;
    expected[5] = "IMGS/exit1.png";
    EXPECT_EQ(buttonsShown(), expected);
    runMenuFrame(*state, {vkDown});
    expected[5] = "IMGS/exit0.png";
    expected[0] = "IMGS/play1.png";
    EXPECT_EQ(buttonsShown(), expected);
}

TEST_F(MainMenuTest, EnterOpensTheHighlightedEntrysScreenWithTheFirstRowHighlighted) {
    for (std::int32_t entry = 1; entry < 6; ++entry) {
        resetMenuState(*state, 0, entry);
        runMenuFrame(*state, {vkReturn});
        EXPECT_EQ(state->loop.menuScreen, entry);
        EXPECT_EQ(state->loop.menuSelection, 0);
        EXPECT_EQ(keyState[vkReturn], 0) << "entry " << entry;
    }
}

TEST_F(MainMenuTest, EnterOnPlayStaysSetForTheStartTest) {
    runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(state->loop.menuScreen, 0);
    EXPECT_EQ(state->loop.menuSelection, 0);
    EXPECT_EQ(keyState[vkReturn], 1);
}

TEST_F(MainMenuTest, UpAndEnterInOneFrameChooseTheNewEntry) {
    struct Case {
        std::int32_t from;
        int move;
        std::int32_t screen;
    };
    for (const Case& c :
         {Case{2, vkUp, 1}, Case{1, vkUp, 0}, Case{0, vkUp, 5}, Case{3, vkDown, 4}}) {
        resetMenuState(*state, 0, c.from);
        keyState.fill(0);
        runMenuFrame(*state, {c.move, vkReturn});
        EXPECT_EQ(state->loop.menuScreen, c.screen) << "from " << c.from;
        EXPECT_EQ(state->loop.menuSelection, 0);
    }
}

TEST_F(MainMenuTest, EnterOnHelpHighScoresOrCreditsReturnsWithPlayHighlighted) {
    for (std::int32_t entry : {2, 3, 4}) {
        resetMenuState(*state, 0, entry);
        runMenuFrame(*state, {vkReturn});
        ASSERT_EQ(state->loop.menuScreen, entry);
        runMenuFrame(*state, {vkReturn});
        EXPECT_EQ(state->loop.menuScreen, 0) << "entry " << entry;
        EXPECT_EQ(state->loop.menuSelection, 0) << "entry " << entry;
        EXPECT_EQ(keyState[vkReturn], 0) << "no game starts from it";
        std::vector<std::string> expected = mainButtonsNormal;
        expected[0] = "IMGS/play1.png";
        EXPECT_EQ(buttonsShown(), expected) << "entry " << entry;
    }
}

TEST_F(MainMenuTest, TheHighScoreScreenShowsTheFileOverTheBackground) {
    ScratchDirectory scratch;
    scratch.write("hiscore.txt", "ZED           120\n");
    WorkingDirectory inScratch(scratch.path());
    state->scores.reloadHighScores = true;
    state->loop.menuScreen = 3;
    const std::vector<DrawRecord> log = runMenuFrame(*state);
    EXPECT_EQ(picturesDrawn(log), std::vector<std::string>{"IMGS/back.png"});
    const std::vector<DrawRecord> texts = textsDrawn(log);
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts[0].text.find("ZED"), std::string::npos) << texts[0].text;
}

TEST_F(MainMenuTest, UpAndDownAreUsedUpWithoutEffectOnTheTextScreens) {
    for (std::int32_t screen : {2, 3, 4, 5}) {
        for (int key : {vkUp, vkDown}) {
            resetMenuState(*state, screen, 0);
            runMenuFrame(*state, {key});
            EXPECT_EQ(state->loop.menuSelection, 0) << "screen " << screen;
            EXPECT_EQ(state->loop.menuScreen, screen);
            EXPECT_EQ(keyState[key], 0) << "screen " << screen;
        }
    }
}

TEST_F(MainMenuTest, ExitDrawsOnlyTheBackgroundAndRequestsTheShutDownLeavingEnter) {
    runMenuFrame(*state, {vkUp});
    runMenuFrame(*state, {vkReturn});
    ASSERT_EQ(state->loop.menuScreen, 5);
    EXPECT_FALSE(state->loop.quitRequested);
    const std::vector<DrawRecord> log = runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(picturesDrawn(log), std::vector<std::string>{"IMGS/back.png"});
    EXPECT_TRUE(state->loop.quitRequested);
    EXPECT_EQ(keyState[vkReturn], 1) << "Enter is not looked at on the exit screen";
}

TEST_F(MainMenuTest, LeftRightAndLettersDoNothingOnTheMainMenu) {
    runMenuFrame(*state, {vkLeft, vkRight, 'A', vkSpace});
    EXPECT_EQ(state->loop.menuSelection, 0);
    EXPECT_EQ(state->menu.editName, "Unknown");
    for (int key : {vkLeft, vkRight, int{'A'}, vkSpace}) {
        EXPECT_EQ(keyState[key], 1) << "key " << key;
    }
}

} // namespace
