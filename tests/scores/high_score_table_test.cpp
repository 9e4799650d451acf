#include "scores/high_score_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct ScoreTextCase {
    const char* text;
    std::int32_t expected;
};

class ScoreText : public ::testing::TestWithParam<ScoreTextCase> {};

TEST_P(ScoreText, ReadsAsAtoiWithSaturation) {
    EXPECT_EQ(readScoreText(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(HighScoreTable, ScoreText,
                         ::testing::Values(ScoreTextCase{"1250", 1250}, ScoreTextCase{"", 0},
                                           ScoreTextCase{"abc", 0}, ScoreTextCase{"-35", -35},
                                           ScoreTextCase{"+42xyz", 42},
                                           ScoreTextCase{" \t\v\f\r\n7 8", 7},
                                           ScoreTextCase{"- 5", 0}, ScoreTextCase{"--5", 0},
                                           ScoreTextCase{"007", 7},
                                           ScoreTextCase{"2147483647", INT32_MAX},
                                           ScoreTextCase{"2147483648", INT32_MAX},
                                           ScoreTextCase{"-2147483648", INT32_MIN},
                                           ScoreTextCase{"-2147483649", INT32_MIN},
                                           ScoreTextCase{"99999999999999999999", INT32_MAX},
                                           ScoreTextCase{"-99999999999999999999", INT32_MIN},
                                           ScoreTextCase{"000000000000000000000000000012", 12}));

struct Entry {
    std::string name;
    std::int32_t score;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& entry, std::ostream* out) {
    *out << '"' << entry.name << "\" " << entry.score;
}

std::vector<Entry> entriesOf(const HighScoreTable& table) {
    EXPECT_EQ(table.names.size(), table.scores.size());
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        entries.push_back({table.names[i], table.scores[i]});
    }
    return entries;
}

HighScoreTable tableOf(const std::vector<Entry>& entries) {
    HighScoreTable table;
    for (const Entry& entry : entries) {
        table.names.push_back(entry.name);
        table.scores.push_back(entry.score);
    }
    return table;
}

struct ParseCase {
    const char* label;
    std::string contents;
    std::vector<Entry> expected;
};

class Parse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parse, SplitsNameFieldAndScore) {
    EXPECT_EQ(entriesOf(parseHighScoreTable(GetParam().contents)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HighScoreTable, Parse,
    ::testing::Values(
        ParseCase{"empty", "", {}}, ParseCase{"only_breaks", "\n\r\n\n", {}},
        ParseCase{"one_line", "Unknown       1250", {{"Unknown       ", 1250}}},
        ParseCase{"lf",
                  "Ann           300\nBob           -20",
                  {{"Ann           ", 300}, {"Bob           ", -20}}},
        ParseCase{"crlf_like_lf",
                  "Ann           300\r\nBob           -20\r\n",
                  {{"Ann           ", 300}, {"Bob           ", -20}}},
        ParseCase{"blank_lines_skipped",
                  "\nAnn           300\n\n\nBob           20\n",
                  {{"Ann           ", 300}, {"Bob           ", 20}}},
        ParseCase{"short_line_is_all_name", "Bob 12", {{"Bob 12", 0}}},
        ParseCase{"fifteenth_char_starts_score", "ABCDEFGHIJKLMNO7", {{"ABCDEFGHIJKLMN", 0}}},
        ParseCase{"fifteenth_digit_is_read", "ABCDEFGHIJKLMN17", {{"ABCDEFGHIJKLMN", 17}}},
        ParseCase{"lone_cr_stays_in_line", "Ann\r          5", {{"Ann\r          ", 5}}},
        ParseCase{"nul_bytes",
                  std::string("A\0B           9", 16),
                  {{std::string("A\0B           ", 14), 9}}},
        ParseCase{
            "too_large", "Big           99999999999999999999", {{"Big           ", INT32_MAX}}}),
    [](const auto& info) { return std::string(info.param.label); });

struct InsertCase {
    const char* label;
    std::vector<Entry> before;
    std::string name;
    std::int32_t score;
    std::vector<Entry> after;
};

class Insert : public ::testing::TestWithParam<InsertCase> {};

TEST_P(Insert, FollowsTheInsertionRule) {
    HighScoreTable table = tableOf(GetParam().before);
    insertHighScore(table, GetParam().name, GetParam().score);
    EXPECT_EQ(entriesOf(table), GetParam().after);
}

std::vector<Entry> descending(int count, std::int32_t top, std::int32_t step) {
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back({"Player" + std::to_string(i) + "       ", top - step * i});
    }
    return entries;
}

std::vector<Entry> with(std::vector<Entry> entries, std::size_t at, Entry entry) {
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
    return entries;
}

std::vector<Entry> without(std::vector<Entry> entries, std::size_t at) {
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(at));
    return entries;
}

const Entry newcomer{"New           ", 0};

Entry newEntry(std::int32_t score) {
    return {newcomer.name, score};
}

INSTANTIATE_TEST_SUITE_P(
    HighScoreTable, Insert,
    ::testing::Values(InsertCase{"first_entry", {}, "New", 5, {newEntry(5)}},
                      InsertCase{"first_entry_negative", {}, "New", -5, {newEntry(-5)}},
                      InsertCase{"equal_goes_above",
                                 {{"Old           ", 100}},
                                 "New",
                                 100,
                                 {newEntry(100), {"Old           ", 100}}},
                      InsertCase{"equal_among_several", descending(5, 500, 100), "New", 300,
                                 with(descending(5, 500, 100), 2, newEntry(300))},
                      InsertCase{"eight_zero_goes_in", descending(8, 800, 100), "New", 0,
                                 with(descending(8, 800, 100), 8, newEntry(0))},
                      InsertCase{"eight_negative_goes_in", descending(8, 800, 100), "New", -7,
                                 with(descending(8, 800, 100), 8, newEntry(-7))},
                      InsertCase{"eight_top", descending(8, 800, 100), "New", 1000,
                                 with(descending(8, 800, 100), 0, newEntry(1000))},
                      InsertCase{"nine_equal_to_last_stays", descending(9, 900, 100), "New", 100,
                                 descending(9, 900, 100)},
                      InsertCase{"nine_below_last_stays", descending(9, 900, 100), "New", -1,
                                 descending(9, 900, 100)},
                      InsertCase{"nine_above_last_drops_ninth", descending(9, 900, 100), "New", 101,
                                 with(without(descending(9, 900, 100), 8), 8, newEntry(101))},
                      InsertCase{"nine_top_drops_ninth", descending(9, 900, 100), "New", 5000,
                                 with(without(descending(9, 900, 100), 8), 0, newEntry(5000))},
                      InsertCase{"ten_hand_made_grows", descending(10, 1000, 100), "New", 550,
                                 with(descending(10, 1000, 100), 5, newEntry(550))},
                      InsertCase{"twelve_hand_made_low_stays", descending(12, 1200, 100), "New",
                                 100, descending(12, 1200, 100)},
                      InsertCase{
                          "long_name_cut_to_14", {}, "ABCDEFGHIJKLMNO", 3, {{"ABCDEFGHIJKLMN", 3}}},
                      InsertCase{"empty_name_all_spaces", {}, "", 3, {{"              ", 3}}},
                      InsertCase{"unsorted_hand_made_before_first_not_above",
                                 {{"A", 50}, {"B", 5}, {"C", 70}},
                                 "New",
                                 10,
                                 {{"A", 50}, newEntry(10), {"B", 5}, {"C", 70}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HighScoreTable, FormatsNamesScoresAndBreaksBetweenEntriesOnly) {
    EXPECT_EQ(formatHighScoreTable({}), "");
    EXPECT_EQ(formatHighScoreTable(tableOf({{"Unknown       ", 1250}})), "Unknown       1250");
    EXPECT_EQ(formatHighScoreTable(
                  tableOf({{"Ann           ", 0}, {"Bob", -20}, {"Cy            ", INT32_MIN}})),
              "Ann           0\nBob-20\nCy            -2147483648");
}

TEST(HighScoreTable, RankPrefixesSkipTheLeadingZeroOnlyForTen) {
    const std::vector<std::string> expected = {"01 ", "02 ", "09 ", "10 ", "011 ", "099 ", "0100 "};
    const std::vector<std::size_t> ranks = {1, 2, 9, 10, 11, 99, 100};
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        EXPECT_EQ(rankPrefix(ranks[i]), expected[i]);
    }
}

struct ScreenLinesCase {
    const char* label;
    std::string contents;
    std::vector<std::string> expected;
};

class ScreenLines : public ::testing::TestWithParam<ScreenLinesCase> {};

TEST_P(ScreenLines, NumberEveryLineOfTheFile) {
    EXPECT_EQ(makeHighScoreLines(GetParam().contents), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HighScoreTable, ScreenLines,
    ::testing::Values(
        ScreenLinesCase{"empty", "", {"01 "}},
        ScreenLinesCase{"one", "Unknown       1250", {"01 Unknown       1250"}},
        ScreenLinesCase{"trailing_break", "Ann           5\n", {"01 Ann           5", "02 "}},
        ScreenLinesCase{"crlf",
                        "Ann           5\r\nBob           4\r\n",
                        {"01 Ann           5", "02 Bob           4", "03 "}},
        ScreenLinesCase{"blank_first", "\nAnn           5", {"01 ", "02 Ann           5"}},
        ScreenLinesCase{"blank_middle_kept", "A\n\nB", {"01 A", "02 ", "03 B"}},
        ScreenLinesCase{"eleven",
                        "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk",
                        {"01 a", "02 b", "03 c", "04 d", "05 e", "06 f", "07 g", "08 h", "09 i",
                         "10 j", "011 k"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HighScoreTable, ScreenLinesStayWithinTheirLimits) {
    const std::string longLine(10 * 1024 * 1024, '7');
    const std::vector<std::string> one = makeHighScoreLines(longLine);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], "01 " + longLine.substr(0, highScoreScreenWidthLimit));

    const std::vector<std::string> many = makeHighScoreLines(std::string(1'000'000, '\n'));
    ASSERT_EQ(many.size(), highScoreScreenLineLimit);
    EXPECT_EQ(many.back(), rankPrefix(highScoreScreenLineLimit));
}

} // namespace
