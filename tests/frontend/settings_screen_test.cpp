#include "menu_fixtures.h"

#include "frontend/settings_screen.h"
#include "media/sound.h"
#include "platform/key_state.h"
#include "platform/settings.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr std::int32_t rowFullScreen = 0;
constexpr std::int32_t rowResolution = 1;
constexpr std::int32_t rowMusic = 2;
constexpr std::int32_t rowEffects = 3;
constexpr std::int32_t rowName = 4;
constexpr std::int32_t rowApply = 5;
constexpr std::int32_t rowCancel = 6;

const std::vector<std::string> rowLabels[2] = {
    {"IMGS/fullscreen0.png", "IMGS/resolution0.png", "IMGS/music0.png", "IMGS/sfx0.png",
     "IMGS/playername0.png", "IMGS/apply0.png", "IMGS/cancel0.png"},
    {"IMGS/fullscreen1.png", "IMGS/resolution1.png", "IMGS/music1.png", "IMGS/sfx1.png",
     "IMGS/playername1.png", "IMGS/apply1.png", "IMGS/cancel1.png"}};

float gainOf(const SoundClip& clip) {
    ALfloat gain = -1;
    alGetSourcef(clip.source, AL_GAIN, &gain);
    return gain;
}

class SettingsScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        installFakePlatform();
        state = std::make_unique<GameState>();
        resetMenuState(*state, 1, 0);
    }
    void TearDown() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        applySoundVolumes(50, 50);
    }

    LoopState& loop() { return state->loop; }
    MenuState& menu() { return state->menu; }

    // Highlights the name row and types the keys, one frame each.
    void typeName(const std::string& keys) {
        loop().menuSelection = rowName;
        for (char key : keys) {
            runMenuFrame(*state, {static_cast<unsigned char>(key)});
        }
    }

    std::unique_ptr<GameState> state;
};

TEST_F(SettingsScreenTest, StartUpSetsTheNameUnknownAndCopiesTheSettings) {
    gameSettings = GameSettings{25, 75, false, 800, 1280};
    MenuState fresh;
    startSettings(fresh);
    EXPECT_EQ(fresh.playerName, "Unknown");
    EXPECT_EQ(fresh.editName, "Unknown");
    EXPECT_FALSE(fresh.editFullScreen);
    EXPECT_EQ(fresh.editHeight, 800);
    EXPECT_EQ(fresh.editMusicVolume, 75);
    EXPECT_EQ(fresh.editEffectsVolume, 25);
}

TEST_F(SettingsScreenTest, LoadsItsPicturesInOrderAtTheirPlacesAndSizes) {
    const MenuState& loaded = loadedMenu();
    struct Expected {
        const GameObject* picture;
        float x, y, size;
    };
    const auto& rows = loaded.settingsRows;
    std::vector<Expected> inLoadOrder = {{&rows[rowApply].normal, -1.0f, -3.5f, 2},
                                         {&rows[rowApply].highlighted, -1.0f, -3.5f, 2},
                                         {&rows[rowCancel].normal, 1.0f, -3.5f, 2},
                                         {&rows[rowCancel].highlighted, 1.0f, -3.5f, 2},
                                         {&rows[rowName].normal, -2.3f, -2.5f, 3},
                                         {&rows[rowName].highlighted, -2.3f, -2.5f, 3},
                                         {&rows[rowFullScreen].normal, -1.5f, 1.5f, 2},
                                         {&rows[rowFullScreen].highlighted, -1.5f, 1.5f, 2},
                                         {&loaded.onPictures[0], 0.5f, 1.5f, 2},
                                         {&loaded.onPictures[1], 0.5f, 1.5f, 2},
                                         {&loaded.offPictures[0], 1.5f, 1.5f, 2},
                                         {&loaded.offPictures[1], 1.5f, 1.5f, 2},
                                         {&rows[rowResolution].normal, -1.5f, 0.5f, 2},
                                         {&rows[rowResolution].highlighted, -1.5f, 0.5f, 2}};
    for (const GameObject& resolution : loaded.resolutionPictures) {
        inLoadOrder.push_back({&resolution, 1.0f, 0.5f, 2});
    }
    inLoadOrder.push_back({&rows[rowMusic].normal, -1.5f, -0.5f, 2});
    inLoadOrder.push_back({&rows[rowMusic].highlighted, -1.5f, -0.5f, 2});
    inLoadOrder.push_back({&rows[rowEffects].normal, -1.5f, -1.5f, 2});
    inLoadOrder.push_back({&rows[rowEffects].highlighted, -1.5f, -1.5f, 2});
    const float volumeX[] = {-0.5f, 0.0f, 0.5f, 1.0f, 1.5f};
    for (int i = 0; i < 5; ++i) {
        inLoadOrder.push_back({&loaded.musicVolumePictures[i][0], volumeX[i], -0.5f, 1});
        inLoadOrder.push_back({&loaded.musicVolumePictures[i][1], volumeX[i], -0.5f, 1});
    }
    const std::size_t firstSettingsPicture = 13; // after the background and the six buttons
    ASSERT_EQ(firstSettingsPicture + inLoadOrder.size(), menuPictureFiles().size());
    std::uint32_t previous = loaded.mainButtons[5].highlighted.texture;
    for (std::size_t i = 0; i < inLoadOrder.size(); ++i) {
        const Expected& e = inLoadOrder[i];
        const std::string& file = menuPictureFiles()[firstSettingsPicture + i];
        EXPECT_EQ(pictureOf(e.picture->texture), file);
        EXPECT_GT(e.picture->texture, previous) << file << " loaded after the one before";
        previous = e.picture->texture;
        EXPECT_EQ(e.picture->x, e.x) << file;
        EXPECT_EQ(e.picture->y, e.y) << file;
        EXPECT_EQ(e.picture->width, e.size) << file;
        EXPECT_EQ(e.picture->height, e.size) << file;
        EXPECT_EQ(e.picture->z, 1.0f) << file;
        EXPECT_EQ(e.picture->type, kindMenu) << file;
        EXPECT_TRUE(e.picture->visible) << file;
        EXPECT_EQ(e.picture->health, 100) << file;
    }
    // The effects row: the music row's textures one row lower.
    for (int i = 0; i < 5; ++i) {
        for (int form = 0; form < 2; ++form) {
            const GameObject& effects = loaded.effectsVolumePictures[i][form];
            EXPECT_EQ(effects.texture, loaded.musicVolumePictures[i][form].texture);
            EXPECT_EQ(effects.x, volumeX[i]);
            EXPECT_EQ(effects.y, -1.5f);
            EXPECT_EQ(effects.width, 1.0f);
        }
    }
}

TEST_F(SettingsScreenTest, DrawsLabelsValuesAndTheNameByTheEditState) {
    struct Case {
        std::int32_t selection;
        bool fullScreen;
        std::int32_t height;
        std::int32_t music;
        std::int32_t effects;
        std::string name;
        std::vector<std::string> values; // after the seven labels
    };
    const Case cases[] = {
        {0,
         false,
         480,
         0,
         100,
         "ABC",
         {"IMGS/on0.png", "IMGS/off1.png", "IMGS/640x480_1.png", "IMGS/0_1.png", "IMGS/25_0.png",
          "IMGS/50_0.png", "IMGS/75_0.png", "IMGS/100_0.png", "IMGS/0_0.png", "IMGS/25_0.png",
          "IMGS/50_0.png", "IMGS/75_0.png", "IMGS/100_1.png"}},
        {4,
         true,
         800,
         50,
         25,
         "",
         {"IMGS/on1.png", "IMGS/off0.png", "IMGS/1280x800_1.png", "IMGS/0_0.png", "IMGS/25_0.png",
          "IMGS/50_1.png", "IMGS/75_0.png", "IMGS/100_0.png", "IMGS/0_0.png", "IMGS/25_1.png",
          "IMGS/50_0.png", "IMGS/75_0.png", "IMGS/100_0.png"}},
        // Values outside the tables show no marked picture and no resolution.
        {6,
         true,
         700,
         30,
         75,
         "X",
         {"IMGS/on1.png", "IMGS/off0.png", "IMGS/0_0.png", "IMGS/25_0.png", "IMGS/50_0.png",
          "IMGS/75_0.png", "IMGS/100_0.png", "IMGS/0_0.png", "IMGS/25_0.png", "IMGS/50_0.png",
          "IMGS/75_1.png", "IMGS/100_0.png"}},
    };
    for (const Case& c : cases) {
        loop().menuSelection = c.selection;
        menu().editFullScreen = c.fullScreen;
        menu().editHeight = c.height;
        menu().editMusicVolume = c.music;
        menu().editEffectsVolume = c.effects;
        menu().editName = c.name;
        const std::vector<DrawRecord> log = runMenuFrame(*state);
        std::vector<std::string> expected = {"IMGS/back.png"};
        for (std::int32_t row = 0; row < 7; ++row) {
            expected.push_back(rowLabels[row == c.selection ? 1 : 0][row]);
        }
        expected.insert(expected.end(), c.values.begin(), c.values.end());
        EXPECT_EQ(picturesDrawn(log), expected) << "selection " << c.selection;
        const std::vector<DrawRecord> texts = textsDrawn(log);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.name);
        EXPECT_EQ(texts[0].x, -0.5f);
        EXPECT_EQ(texts[0].y, -3.0f);
        EXPECT_EQ(texts[0].size, 30);
        EXPECT_EQ(texts[0].red + texts[0].green + texts[0].blue, 0.0f) << "black";
    }
}

TEST_F(SettingsScreenTest, ASelectionAboveTheRowsDrawsNoLabel) {
    loop().menuSelection = 7;
    const std::vector<std::string> pictures = picturesDrawn(runMenuFrame(*state));
    for (const auto& labels : rowLabels) {
        for (const std::string& label : labels) {
            EXPECT_EQ(std::count(pictures.begin(), pictures.end(), label), 0) << label;
        }
    }
    EXPECT_EQ(pictures.size(), 1u + 2u + 1u + 10u) << "background, on/off, resolution, volumes";
}

TEST_F(SettingsScreenTest, EnteringFromTheMainMenuHighlightsTheFullScreenRow) {
    resetMenuState(*state, 0, 1);
    runMenuFrame(*state, {vkReturn});
    const std::vector<std::string> pictures = picturesDrawn(runMenuFrame(*state));
    ASSERT_GE(pictures.size(), 8u);
    EXPECT_EQ(pictures[1], "IMGS/fullscreen1.png");
    EXPECT_EQ(pictures[6], "IMGS/apply0.png");
}

TEST_F(SettingsScreenTest, UpDownLeftAndRightMoveBetweenRows) {
    struct Case {
        std::int32_t from;
        int key;
        std::int32_t to;
    };
    const Case cases[] = {{rowFullScreen, vkUp, rowApply},   {rowCancel, vkUp, rowName},
                          {rowApply, vkUp, rowName},         {rowMusic, vkUp, rowResolution},
                          {rowApply, vkDown, rowFullScreen}, {rowCancel, vkDown, rowFullScreen},
                          {rowName, vkDown, rowApply},       {rowFullScreen, vkDown, rowResolution},
                          {rowApply, vkLeft, rowCancel},     {rowApply, vkRight, rowCancel},
                          {rowCancel, vkLeft, rowApply},     {rowCancel, vkRight, rowApply},
                          {rowName, vkLeft, rowName},        {rowName, vkRight, rowName}};
    for (const Case& c : cases) {
        loop().menuSelection = c.from;
        runMenuFrame(*state, {c.key});
        EXPECT_EQ(loop().menuSelection, c.to) << "from " << c.from << " key " << c.key;
        EXPECT_EQ(loop().menuScreen, 1);
        EXPECT_EQ(keyState[c.key], 0) << "the press is used up";
    }
}

TEST_F(SettingsScreenTest, LeftAndRightChangeTheRowsValueAndWrap) {
    struct Case {
        std::int32_t row;
        int key;
        std::int32_t before;
        std::int32_t after;
    };
    const Case cases[] = {
        {rowResolution, vkRight, 800, 480},  {rowResolution, vkLeft, 480, 800},
        {rowResolution, vkRight, 480, 600},  {rowResolution, vkRight, 600, 768},
        {rowResolution, vkRight, 768, 1024}, {rowResolution, vkRight, 1024, 800},
        {rowResolution, vkLeft, 1024, 768},  {rowResolution, vkRight, 700, 700},
        {rowMusic, vkLeft, 0, 100},          {rowMusic, vkRight, 100, 0},
        {rowMusic, vkRight, 25, 50},         {rowMusic, vkLeft, 75, 50},
        {rowMusic, vkLeft, 30, 30},          {rowEffects, vkLeft, 0, 100},
        {rowEffects, vkRight, 50, 75},       {rowEffects, vkRight, 101, 101},
    };
    for (const Case& c : cases) {
        resetMenuState(*state, 1, c.row);
        std::int32_t& value = c.row == rowResolution ? menu().editHeight
                              : c.row == rowMusic    ? menu().editMusicVolume
                                                     : menu().editEffectsVolume;
        value = c.before;
        const MenuState before = menu();
        runMenuFrame(*state, {c.key});
        EXPECT_EQ(value, c.after) << "row " << c.row << " key " << c.key << " from " << c.before;
        EXPECT_EQ(keyState[c.key], 0);
        // The other rows keep their values.
        EXPECT_EQ(menu().editFullScreen, before.editFullScreen);
        if (c.row != rowMusic) {
            EXPECT_EQ(menu().editMusicVolume, before.editMusicVolume);
        }
        if (c.row != rowEffects) {
            EXPECT_EQ(menu().editEffectsVolume, before.editEffectsVolume);
        }
        if (c.row != rowResolution) {
            EXPECT_EQ(menu().editHeight, before.editHeight);
        }
    }
}

TEST_F(SettingsScreenTest, LeftOrRightTogglesFullScreen) {
    for (int key : {vkLeft, vkRight}) {
        resetMenuState(*state, 1, rowFullScreen);
        ASSERT_TRUE(menu().editFullScreen);
        runMenuFrame(*state, {key});
        EXPECT_FALSE(menu().editFullScreen);
        runMenuFrame(*state, {key});
        EXPECT_TRUE(menu().editFullScreen);
    }
    runMenuFrame(*state, {vkLeft, vkRight});
    EXPECT_TRUE(menu().editFullScreen) << "both in one frame toggle twice";
}

TEST_F(SettingsScreenTest, NameEntryTakesSpaceLettersAndBackspaceOnTheNameRowOnly) {
    menu().editName = "";
    typeName("AB CZ");
    EXPECT_EQ(menu().editName, "AB CZ");
    runMenuFrame(*state, {vkBack});
    EXPECT_EQ(menu().editName, "AB C");
    // Off the name row nothing types, and the keys stay set.
    loop().menuSelection = rowMusic;
    runMenuFrame(*state, {'Q', vkSpace});
    EXPECT_EQ(menu().editName, "AB C");
    EXPECT_EQ(keyState['Q'], 1);
    EXPECT_EQ(keyState[vkSpace], 1);
}

TEST_F(SettingsScreenTest, AFullNameTakesNoSpaceOrLetterButBackspaceWorks) {
    struct Case {
        std::string name;
        int key;
        std::string after;
        bool keyLeftSet;
    };
    const std::string fourteen = "ABCDEFGHIJKLMN";
    const std::string fifteen = fourteen + "O";
    const Case cases[] = {
        {fifteen, vkSpace, fifteen, true},
        {fifteen, 'Z', fifteen, true},
        {fifteen, vkBack, fourteen, false},
        {fourteen, vkSpace, fourteen + " ", false},
        {fourteen, 'Z', fourteen + "Z", false},
        {"", vkBack, "", true},
        {"A", vkBack, "", false},
    };
    for (const Case& c : cases) {
        keyState.fill(0);
        menu().editName = c.name;
        loop().menuSelection = rowName;
        runMenuFrame(*state, {c.key});
        EXPECT_EQ(menu().editName, c.after) << "'" << c.name << "' key " << c.key;
        EXPECT_EQ(keyState[c.key], c.keyLeftSet ? 1 : 0) << "'" << c.name << "' key " << c.key;
    }
}

TEST_F(SettingsScreenTest, AHeldKeyIsTakenWhenRoomIsMade) {
    menu().editName = "ABCDEFGHIJKLMNO";
    loop().menuSelection = rowName;
    runMenuFrame(*state, {'X'});
    EXPECT_EQ(menu().editName, "ABCDEFGHIJKLMNO");
    runMenuFrame(*state, {vkBack});
    EXPECT_EQ(menu().editName, "ABCDEFGHIJKLMNX") << "room made, the waiting letter follows";
}

TEST_F(SettingsScreenTest, TwoHeldLettersAddTheLowerFirstAndTheOtherNextFrame) {
    menu().editName = "";
    loop().menuSelection = rowName;
    runMenuFrame(*state, {'Q', 'B'});
    EXPECT_EQ(menu().editName, "B");
    EXPECT_EQ(keyState['B'], 0);
    EXPECT_EQ(keyState['Q'], 1);
    runMenuFrame(*state);
    EXPECT_EQ(menu().editName, "BQ");
    runMenuFrame(*state);
    EXPECT_EQ(menu().editName, "BQ");
}

TEST_F(SettingsScreenTest, SpaceAndALetterInOneFrameAddBoth) {
    menu().editName = "A";
    loop().menuSelection = rowName;
    runMenuFrame(*state, {vkSpace, 'C'});
    EXPECT_EQ(menu().editName, "A C");
}

TEST_F(SettingsScreenTest, KeypadAndFunctionKeysTypeNothing) {
    // 0x61 to 0x7A are the keypad's digits and operators and F1 to F11, not lower-case letters.
    for (int key : {vkF1, 0x61, 0x6A, 0x7A}) {
        keyState.fill(0);
        menu().editName = "AB";
        loop().menuSelection = rowName;
        runMenuFrame(*state, {key});
        EXPECT_EQ(menu().editName, "AB") << "key " << key;
        EXPECT_EQ(keyState[key], 1) << "left for whoever reads it";
    }
}

TEST_F(SettingsScreenTest, ApplyTakesTheEditsAndReturnsToPlay) {
    menu().editFullScreen = false;
    menu().editHeight = 1024;
    menu().editMusicVolume = 75;
    menu().editEffectsVolume = 0;
    menu().editName = "VIRUS";
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(loop().menuScreen, 0);
    EXPECT_EQ(loop().menuSelection, 0);
    EXPECT_EQ(keyState[vkReturn], 0) << "no game starts from Apply";
    EXPECT_EQ(menu().playerName, "VIRUS");
    EXPECT_FALSE(gameSettings.fullScreen);
    EXPECT_EQ(gameSettings.screenHeight, 1024);
    EXPECT_EQ(gameSettings.screenWidth, 1280);
    EXPECT_EQ(gameSettings.musicVolume, 75);
    EXPECT_EQ(gameSettings.effectsVolume, 0);
}

TEST_F(SettingsScreenTest, ApplyChangesTheVolumesAtOnce) {
    const SoundClip& music = menu().background.sounds[0];
    const SoundClip& effect = effectClip();
    ASSERT_FLOAT_EQ(gainOf(music), 0.5f);
    ASSERT_FLOAT_EQ(gainOf(effect), 0.5f);
    menu().editMusicVolume = 25;
    menu().editEffectsVolume = 100;
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn});
    EXPECT_FLOAT_EQ(gainOf(music), 0.25f);
    EXPECT_FLOAT_EQ(gainOf(effect), 1.0f);
}

TEST_F(SettingsScreenTest, ApplyKeepsTheSizeForAHeightOutsideTheTable) {
    menu().editHeight = 700;
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(gameSettings.screenHeight, 600);
    EXPECT_EQ(gameSettings.screenWidth, 800);
}

TEST_F(SettingsScreenTest, AppliedNames) {
    struct Case {
        std::string typed;
        std::string applied;
    };
    for (const Case& c : {Case{"", "Unknown"}, Case{"   ", "   "}, Case{"AB", "AB"}}) {
        resetMenuState(*state, 1, rowApply);
        menu().editName = c.typed;
        runMenuFrame(*state, {vkReturn});
        EXPECT_EQ(menu().playerName, c.applied) << "'" << c.typed << "'";
        EXPECT_EQ(menu().editName, c.applied) << "'" << c.typed << "'";
        // Back on the screen, the name row shows it.
        loop().menuScreen = 1;
        const std::vector<DrawRecord> texts = textsDrawn(runMenuFrame(*state));
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.applied);
    }
}

TEST_F(SettingsScreenTest, AppliedEmptyNameShowsUnknownOnReturn) {
    menu().editName = "A";
    typeName(std::string(1, static_cast<char>(vkBack)));
    ASSERT_EQ(menu().editName, "");
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn});
    runMenuFrame(*state, {vkDown});
    runMenuFrame(*state, {vkReturn});
    ASSERT_EQ(loop().menuScreen, 1);
    const std::vector<DrawRecord> texts = textsDrawn(runMenuFrame(*state));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Unknown");
}

TEST_F(SettingsScreenTest, CancelRestoresTheAppliedNameAndSettings) {
    // Apply a first set of edits.
    menu().editName = "AB";
    menu().editHeight = 768;
    menu().editMusicVolume = 100;
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn});
    const GameSettings applied = gameSettings;
    // Edit again, then Cancel.
    loop().menuScreen = 1;
    typeName("CD");
    ASSERT_EQ(menu().editName, "ABCD");
    menu().editFullScreen = false;
    menu().editHeight = 480;
    menu().editMusicVolume = 0;
    menu().editEffectsVolume = 25;
    loop().menuSelection = rowCancel;
    runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(loop().menuScreen, 0);
    EXPECT_EQ(loop().menuSelection, 0);
    EXPECT_EQ(keyState[vkReturn], 0);
    EXPECT_EQ(menu().editName, "AB");
    EXPECT_EQ(menu().playerName, "AB");
    EXPECT_EQ(menu().editFullScreen, applied.fullScreen);
    EXPECT_EQ(menu().editHeight, 768);
    EXPECT_EQ(menu().editMusicVolume, 100);
    EXPECT_EQ(menu().editEffectsVolume, applied.effectsVolume);
    EXPECT_EQ(gameSettings.screenHeight, applied.screenHeight);
    EXPECT_EQ(gameSettings.musicVolume, applied.musicVolume);
    EXPECT_EQ(gameSettings.effectsVolume, applied.effectsVolume);
}

TEST_F(SettingsScreenTest, EnterOnTheValueRowsOnlyUsesUpTheKey) {
    for (std::int32_t row = rowFullScreen; row <= rowName; ++row) {
        resetMenuState(*state, 1, row);
        menu().editName = "AB";
        runMenuFrame(*state, {vkReturn});
        EXPECT_EQ(loop().menuScreen, 1) << "row " << row;
        EXPECT_EQ(loop().menuSelection, row);
        EXPECT_EQ(keyState[vkReturn], 0);
        EXPECT_EQ(menu().playerName, "Unknown");
    }
}

TEST_F(SettingsScreenTest, ApplyWithLeftInTheSameFrameLeavesTheEditsAlone) {
    // Enter comes before Left; once Apply has left the screen Left waits.
    menu().editFullScreen = true;
    loop().menuSelection = rowApply;
    runMenuFrame(*state, {vkReturn, vkLeft});
    EXPECT_EQ(loop().menuScreen, 0);
    EXPECT_EQ(loop().menuSelection, 0);
    EXPECT_TRUE(menu().editFullScreen);
    EXPECT_EQ(keyState[vkLeft], 1);
}

TEST_F(SettingsScreenTest, TheEditCopiesAreNotRefreshedOnEntering) {
    menu().editMusicVolume = 25;
    gameSettings.musicVolume = 100;
    resetMenuState(*state, 0, 1);
    menu().editMusicVolume = 25;
    runMenuFrame(*state, {vkReturn});
    ASSERT_EQ(loop().menuScreen, 1);
    EXPECT_EQ(menu().editMusicVolume, 25);
}

} // namespace
