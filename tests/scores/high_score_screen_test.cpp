#include "scores/high_scores.h"
#include "scores/score_fixtures.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

class HighScoreScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        fake = &installFakePlatform();
        fake->drawLogOn = true;
        ensureGlContext();
    }

    // The texts one frame of the screen draws, checked for place, colour and size on the way.
    std::vector<std::string> drawFrame(HighScoreState& scores) {
        fake->drawLog.clear();
        drawHighScoreScreen(scores, path);
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < fake->drawLog.size(); ++i) {
            const DrawRecord& record = fake->drawLog[i];
            EXPECT_EQ(record.kind, DrawRecord::Kind::text);
            EXPECT_FLOAT_EQ(record.x, -3.7f);
            EXPECT_NEAR(record.y, 1.5f - 0.7f * static_cast<float>(i), 1e-5f);
            EXPECT_EQ(record.size, 30);
            EXPECT_EQ(record.red, 1.0f);
            EXPECT_EQ(record.green, 1.0f);
            EXPECT_EQ(record.blue, 1.0f);
            texts.push_back(record.text);
        }
        return texts;
    }

    FakePlatform* fake = nullptr;
    TempDir dir;
    std::string path = dir.file("hiscore.txt");
};

struct ScreenCase {
    const char* label;
    std::optional<std::string> file; // nothing: no file
    std::vector<std::string> drawn;
};

class ScreenFile : public HighScoreScreen, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(ScreenFile, DrawsTheNumberedLines) {
    if (GetParam().file) {
        writeFile(path, *GetParam().file);
    }
    HighScoreState scores;
    EXPECT_EQ(drawFrame(scores), GetParam().drawn);
    EXPECT_FALSE(scores.reloadHighScores);
}

const std::vector<std::string> noData = {"NO HIGHSCORE DATA"};

INSTANTIATE_TEST_SUITE_P(
    HighScoreFile, ScreenFile,
    ::testing::Values(
        ScreenCase{"no_file", std::nullopt, noData}, ScreenCase{"empty_file", "", noData},
        ScreenCase{"first_line_empty", "\nAnn           300\nBob           200", noData},
        ScreenCase{"first_line_empty_crlf", "\r\nAnn           300", noData},
        ScreenCase{"written_by_the_game",
                   "Ann           300\nUnknown       1250",
                   {"01 Ann           300", "02 Unknown       1250"}},
        ScreenCase{"crlf_like_lf",
                   "Ann           300\r\nUnknown       1250",
                   {"01 Ann           300", "02 Unknown       1250"}},
        ScreenCase{"ends_with_a_break", "Ann           300\n", {"01 Ann           300", "02 "}},
        ScreenCase{"shown_as_it_stands", "x\n\n  -7 junk", {"01 x", "02 ", "03   -7 junk"}},
        ScreenCase{"eleven_lines",
                   "a1\na2\na3\na4\na5\na6\na7\na8\na9\na10\na11",
                   {"01 a1", "02 a2", "03 a3", "04 a4", "05 a5", "06 a6", "07 a7", "08 a8", "09 a9",
                    "10 a10", "011 a11"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(HighScoreScreen, ReadsTheFileOnlyWhenTheFlagIsSet) {
    writeFile(path, "Ann           300");
    HighScoreState scores;
    EXPECT_EQ(drawFrame(scores), std::vector<std::string>{"01 Ann           300"});

    writeFile(path, "Bob           100");
    EXPECT_EQ(drawFrame(scores), std::vector<std::string>{"01 Ann           300"});

    scores.reloadHighScores = true;
    EXPECT_EQ(drawFrame(scores), std::vector<std::string>{"01 Bob           100"});
}

TEST_F(HighScoreScreen, ShowsARecordedGameOnTheNextFrame) {
    HighScoreState scores;
    EXPECT_EQ(drawFrame(scores), noData);
    recordHighScore(scores, "Unknown", 1250, path);
    recordHighScore(scores, "Unknown", 1250, path);
    EXPECT_EQ(drawFrame(scores),
              (std::vector<std::string>{"01 Unknown       1250", "02 Unknown       1250"}));
}

TEST_F(HighScoreScreen, AFileThatCannotBeReadIsAnEmptyList) {
    std::filesystem::create_directory(path);
    HighScoreState scores;
    scores.highScoreLines = {"01 stale"};
    EXPECT_EQ(drawFrame(scores), noData);
    EXPECT_FALSE(scores.reloadHighScores);
}

TEST_F(HighScoreScreen, HugeAndGarbageFilesStayWithinBounds) {
    writeFile(path, std::string(10 * 1024 * 1024, '9'));
    HighScoreState scores;
    std::vector<std::string> drawn = drawFrame(scores);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0], "01 " + std::string(255, '9'));

    std::string garbage;
    for (std::uint32_t i = 0; i < 1u << 20; ++i) {
        garbage += static_cast<char>((i * 7919u) >> 3);
    }
    writeFile(path, garbage);
    scores.reloadHighScores = true;
    drawn = drawFrame(scores);
    EXPECT_FALSE(drawn.empty());
    EXPECT_LE(drawn.size(), 100u);
}

} // namespace
