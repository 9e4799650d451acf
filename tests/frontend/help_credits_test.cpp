#include "menu_fixtures.h"

#include "frontend/help_credits.h"
#include "platform/key_state.h"
#include "platform/settings.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::string>;

class HelpCreditsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        keyState.fill(0);
        gameSettings = GameSettings{50, 50, true, 600, 800};
        installFakePlatform();
        state = std::make_unique<GameState>();
        resetMenuState(*state, 0, 0);
    }
    void TearDown() override { keyState.fill(0); }

    ScratchDirectory scratch;
    std::unique_ptr<GameState> state;
};

TEST_F(HelpCreditsTest, ReadsOneEntryPerLineWithAFinalEmptyOneAfterALineFeed) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"a\nb\n", {"a", "b", ""}},
        {"a\nb", {"a", "b"}},
        {"", {""}},
        {"\n", {"", ""}},
        {"\n\n", {"", "", ""}},
        {"one line", {"one line"}},
        {"  spaced \t\n", {"  spaced \t", ""}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb", {"a\rb"}},
        {"end\r", {"end\r"}},
    };
    for (const Case& c : cases) {
        const std::string path = scratch.write("text.txt", c.bytes);
        Lines lines;
        readTextLines(path, lines);
        EXPECT_EQ(lines, c.lines) << "file '" << c.bytes << "'";
    }
}

TEST_F(HelpCreditsTest, ReadsLongLinesWholeAndAppendsToTheList) {
    const std::string longLine(100000, 'x');
    const std::string path = scratch.write("long.txt", longLine + "\nshort");
    Lines lines = {"before"};
    readTextLines(path, lines);
    EXPECT_EQ(lines, (Lines{"before", longLine, "short"}));
}

TEST_F(HelpCreditsTest, AMissingFileGivesNoLines) {
    Lines lines;
    readTextLines((scratch.path() / "absent.txt").string(), lines);
    EXPECT_TRUE(lines.empty());
}

TEST_F(HelpCreditsTest, MissingTextFilesLeaveBothScreensBlank) {
    readTextLines((scratch.path() / "help.txt").string(), state->menu.helpLines);
    readTextLines((scratch.path() / "credits.txt").string(), state->menu.creditsLines);
    for (std::int32_t screen : {2, 4}) {
        state->loop.menuScreen = screen;
        const std::vector<DrawRecord> log = runMenuFrame(*state);
        EXPECT_EQ(picturesDrawn(log), Lines{"IMGS/back.png"}) << "screen " << screen;
        EXPECT_TRUE(textsDrawn(log).empty()) << "screen " << screen;
    }
}

TEST_F(HelpCreditsTest, EachScreenDrawsItsLinesDownwardsInWhiteAtItsSize) {
    struct Case {
        std::int32_t screen;
        float x;
        float firstY;
        int size;
    };
    readTextLines(scratch.write("three.txt", "first\nsecond\nthird\n"), state->menu.helpLines);
    readTextLines(scratch.write("three.txt", "first\nsecond\nthird\n"), state->menu.creditsLines);
    for (const Case& c : {Case{2, -4.0f, 1.8f, 5}, Case{4, -3.7f, 1.7f, 10}}) {
        state->loop.menuScreen = c.screen;
        const std::vector<DrawRecord> log = runMenuFrame(*state);
        EXPECT_EQ(picturesDrawn(log), Lines{"IMGS/back.png"});
        const std::vector<DrawRecord> texts = textsDrawn(log);
        ASSERT_EQ(texts.size(), 4u) << "screen " << c.screen;
        const Lines expectedText = {"first", "second", "third", ""};
        // The y of each line is the single-precision float the step leaves.
        float y = c.firstY;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, expectedText[i]);
            EXPECT_EQ(texts[i].x, c.x);
            EXPECT_EQ(texts[i].y, y) << "line " << i;
            EXPECT_EQ(texts[i].size, c.size);
            EXPECT_EQ(texts[i].red, 1.0f);
            EXPECT_EQ(texts[i].green, 1.0f);
            EXPECT_EQ(texts[i].blue, 1.0f);
            y -= 0.3f;
        }
    }
}

TEST_F(HelpCreditsTest, AThreeLineHelpFileShowsAt18And15And12) {
    readTextLines(scratch.write("help.txt", "a\nb\nc\n"), state->menu.helpLines);
    state->loop.menuScreen = 2;
    const std::vector<DrawRecord> texts = textsDrawn(runMenuFrame(*state));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_NEAR(texts[0].y, 1.8f, 1e-5f);
    EXPECT_NEAR(texts[1].y, 1.5f, 1e-5f);
    EXPECT_NEAR(texts[2].y, 1.2f, 1e-5f);
    EXPECT_EQ(texts[3].text, "") << "the empty fourth entry draws nothing but is there";
}

TEST_F(HelpCreditsTest, LinesBelowTheScreenAreStillDrawn) {
    for (int i = 0; i < 40; ++i) {
        state->menu.creditsLines.push_back("line " + std::to_string(i));
    }
    state->loop.menuScreen = 4;
    const std::vector<DrawRecord> texts = textsDrawn(runMenuFrame(*state));
    ASSERT_EQ(texts.size(), 40u);
    EXPECT_LT(texts.back().y, -10.0f);
}

TEST_F(HelpCreditsTest, EnterOnCreditsReturnsToTheMainMenuWithPlayHighlighted) {
    runMenuFrame(*state, {vkDown});
    runMenuFrame(*state, {vkDown});
    runMenuFrame(*state, {vkDown});
    runMenuFrame(*state, {vkDown});
    ASSERT_EQ(state->loop.menuSelection, 4);
    runMenuFrame(*state, {vkReturn});
    ASSERT_EQ(state->loop.menuScreen, 4);
    runMenuFrame(*state, {vkReturn});
    EXPECT_EQ(state->loop.menuScreen, 0);
    EXPECT_EQ(state->loop.menuSelection, 0);
    const Lines pictures = picturesDrawn(runMenuFrame(*state));
    ASSERT_EQ(pictures.size(), 7u);
    EXPECT_EQ(pictures[1], "IMGS/play1.png");
    EXPECT_EQ(pictures[5], "IMGS/credits0.png");
}

} // namespace
