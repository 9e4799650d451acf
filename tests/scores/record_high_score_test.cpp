#include "scores/high_scores.h"
#include "scores/score_fixtures.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Game {
    std::string name;
    std::int32_t score;
};

struct RecordCase {
    const char* label;
    std::optional<std::string> before; // nothing: no file
    std::vector<Game> games;
    std::string after;
};

class Record : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Record, RewritesTheFileByTheRule) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    if (GetParam().before) {
        writeFile(path, *GetParam().before);
    }
    for (const Game& game : GetParam().games) {
        HighScoreState scores;
        scores.reloadHighScores = false;
        recordHighScore(scores, game.name, game.score, path);
        EXPECT_TRUE(scores.reloadHighScores);
    }
    EXPECT_EQ(readFile(path), GetParam().after);
    EXPECT_EQ(listDirectory(dir.path), std::vector<std::string>{"hiscore.txt"});
}

// Entries from 900 down by 100, as the program writes them.
std::string entriesText(int count, const char* lineBreak = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i > 0 ? lineBreak : "") + std::string("Player") + std::to_string(i) + "       " +
                std::to_string(900 - 100 * i);
    }
    return text;
}

std::string eightEntriesAnd(const std::string& last) {
    return entriesText(8) + "\n" + last;
}

INSTANTIATE_TEST_SUITE_P(
    HighScoreFile, Record,
    ::testing::Values(
        RecordCase{"first_game_no_file", std::nullopt, {{"Unknown", 1250}}, "Unknown       1250"},
        RecordCase{"first_game_empty_file", "", {{"Unknown", 1250}}, "Unknown       1250"},
        RecordCase{"first_game_blank_lines", "\n\n", {{"Unknown", 0}}, "Unknown       0"},
        RecordCase{"equal_scores_later_above",
                   std::nullopt,
                   {{"EARLIER", 100}, {"LATER", 100}},
                   "LATER         100\nEARLIER       100"},
        RecordCase{"nine_equal_to_ninth_rewritten_unchanged",
                   entriesText(9, "\r\n"),
                   {{"New", 100}},
                   entriesText(9)},
        RecordCase{"nine_higher_drops_ninth",
                   entriesText(9),
                   {{"New", 150}},
                   eightEntriesAnd("New           150")},
        RecordCase{
            "eight_zero_goes_in", entriesText(8), {{"New", 0}}, eightEntriesAnd("New           0")},
        RecordCase{"eight_negative_goes_in",
                   entriesText(8),
                   {{"New", -40}},
                   eightEntriesAnd("New           -40")},
        RecordCase{"eight_equal_goes_above",
                   entriesText(8),
                   {{"New", 500}},
                   "Player0       900\nPlayer1       800\nPlayer2       700\nPlayer3       600\n"
                   "New           500\nPlayer4       500\nPlayer5       400\nPlayer6       300\n"
                   "Player7       200"},
        RecordCase{"blank_line_and_longer_name_vanish",
                   "Ann           300\n\nAbcdefghijklmn 200\n",
                   {{"New", 1}},
                   "Ann           300\nAbcdefghijklmn200\nNew           1"},
        RecordCase{"fifteen_letter_name_cut",
                   std::nullopt,
                   {{"ABCDEFGHIJKLMNO", 77}, {"Unknown", 5}},
                   "ABCDEFGHIJKLMN77\nUnknown       5"},
        RecordCase{"crlf_reads_like_lf",
                   "Ann           300\r\nBob           200\r\n",
                   {{"New", 250}},
                   "Ann           300\nNew           250\nBob           200"},
        RecordCase{"scores_written_afresh",
                   "Ann             +0300xyz\nBob           \t-2 5",
                   {{"New", -3}},
                   "Ann           300\nBob           -2\nNew           -3"},
        RecordCase{"short_hand_made_line_keeps_its_characters",
                   "Bob",
                   {{"New", -1}},
                   "Bob0\nNew           -1"},
        RecordCase{"too_large_saturates",
                   "Big           99999999999999999999\nLow           -99999999999999999999",
                   {{"New", 0}},
                   "Big           2147483647\nNew           0\nLow           -2147483648"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HighScoreFile, AHandMadeLongListKeepsItsLengthPlusOne) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    std::string before;
    for (int i = 0; i < 11; ++i) {
        before += (i > 0 ? "\n" : "") + std::string("Hand          ") + std::to_string(1100 - i);
    }
    writeFile(path, before);
    HighScoreState scores;
    recordHighScore(scores, "New", 2000, path);
    EXPECT_EQ(readFile(path), "New           2000\n" + before);
}

TEST(HighScoreFile, KeepsThePermissionsOfTheOldFile) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    writeFile(path, "Ann           3");
    ::chmod(path.c_str(), 0640);
    HighScoreState scores;
    recordHighScore(scores, "New", 5, path);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(readFile(path), "New           5\nAnn           3");
}

// Inputs no program wrote: the game must record its score and go on, in bounded time.
TEST(HighScoreFile, SurvivesHugeAndGarbageFiles) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");

    writeFile(path, std::string(10 * 1024 * 1024, 'a'));
    HighScoreState scores;
    recordHighScore(scores, "Unknown", 5, path);
    EXPECT_EQ(readFile(path), "Unknown       5\naaaaaaaaaaaaaa0");

    writeFile(path, "Digits        " + std::string(10 * 1024 * 1024, '9'));
    recordHighScore(scores, "Unknown", 5, path);
    EXPECT_EQ(readFile(path), "Digits        2147483647\nUnknown       5");

    std::mt19937 random(7);
    std::string garbage(1024 * 1024, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random() & 0xFF);
    }
    writeFile(path, garbage);
    recordHighScore(scores, "Garbage Tester", INT32_MAX, path);
    recordHighScore(scores, "Second", INT32_MAX, path);
    const std::optional<std::string> after = readFile(path);
    ASSERT_TRUE(after);
    // Every line now has a name field and a score; the newest maximum score leads.
    EXPECT_EQ(after->substr(0, after->find('\n')), "Second        2147483647");
    EXPECT_EQ(after->find("Garbage Tester2147483647"), after->find('\n') + 1);
}

TEST(HighScoreFile, ADirectoryInPlaceOfTheFileIsLeftAlone) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    std::filesystem::create_directory(path);
    HighScoreState scores;
    scores.reloadHighScores = false;
    recordHighScore(scores, "Unknown", 5, path);
    EXPECT_TRUE(scores.reloadHighScores);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(listDirectory(dir.path), std::vector<std::string>{"hiscore.txt"});
}

TEST(HighScoreFile, UsesTheWorkingDirectoryByDefault) {
    const TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    HighScoreState scores;
    recordHighScore(scores, "Unknown", 1250);
    std::filesystem::current_path(previous);
    EXPECT_EQ(readFile(dir.file("hiscore.txt")), "Unknown       1250");
}

// Real permissions, checked without root's privileges: the old list stays byte for byte and the
// game goes on.
struct PermissionCase {
    const char* label;
    std::filesystem::perms directory;
    std::filesystem::perms file;
};

class Permissions : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(Permissions, KeepTheOldList) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    const std::string old = "Ann           300\nBob           200";
    writeFile(path, old);
    std::filesystem::permissions(path, GetParam().file);
    std::filesystem::permissions(dir.path, GetParam().directory);

    const int status = runUnprivileged([&path] {
        HighScoreState scores;
        scores.reloadHighScores = false;
        recordHighScore(scores, "Intruder", 1000, path);
        return scores.reloadHighScores ? 0 : 1;
    });

    EXPECT_EQ(status, 0);
    std::filesystem::permissions(dir.path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(listDirectory(dir.path), std::vector<std::string>{"hiscore.txt"});
}

using std::filesystem::perms;
constexpr perms readable = perms::owner_read | perms::group_read | perms::others_read;
constexpr perms openDirectory = perms::all;
constexpr perms readOnlyDirectory =
    readable | perms::owner_exec | perms::group_exec | perms::others_exec;

INSTANTIATE_TEST_SUITE_P(
    HighScoreFile, Permissions,
    ::testing::Values(PermissionCase{"read_only_directory", readOnlyDirectory, readable},
                      PermissionCase{"read_only_file", openDirectory, readable},
                      PermissionCase{"unreadable_file", openDirectory, perms::none}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HighScoreFile, AReadOnlyDirectoryWithoutAFileWritesNothing) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    std::filesystem::permissions(dir.path, readOnlyDirectory);
    const int status = runUnprivileged([&path] {
        HighScoreState scores;
        recordHighScore(scores, "Unknown", 5, path);
        return 0;
    });
    EXPECT_EQ(status, 0);
    std::filesystem::permissions(dir.path, perms::owner_all, std::filesystem::perm_options::add);
    EXPECT_TRUE(listDirectory(dir.path).empty());
}

} // namespace
