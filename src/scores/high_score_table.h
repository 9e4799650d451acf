// The high-score list as text: reading "hiscore.txt" lines into a table, the insertion rule, the
// file's text, and the numbered lines of the high-score screen. Pure functions on strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Width of the name field of a line; the score text follows it directly.
inline constexpr std::size_t highScoreNameWidth = 14;
// The insertion rule keeps a table this program wrote at 9 entries.
inline constexpr std::size_t highScoreTableLength = 9;
// The screen keeps no more lines, and no longer ones, than could ever be seen: a hand-made file
// of millions of lines or one 10 MB line must not make every menu frame crawl.
inline constexpr std::size_t highScoreScreenLineLimit = 100;
inline constexpr std::size_t highScoreScreenWidthLimit = 255;

// Built afresh by every recordHighScore call; entry i is names[i] with scores[i], in descending
// order of score.
struct HighScoreTable {
    std::vector<std::string> names;
    std::vector<std::int32_t> scores;
};

// The score text as atoi reads it (leading white space, an optional sign, digits up to the first
// other character, 0 when there are none), with a value beyond 32 bits held at the nearest end.
std::int32_t readScoreText(std::string_view text);

// Lines are read as text mode reads them: LF ends a line, and so does CR LF. The piece after the
// last line break is a line too, even when empty, so an empty text is one empty line.

// Every non-empty line: its first 14 characters are the name, the rest is the score text.
HighScoreTable parseHighScoreTable(std::string_view contents);

// Puts the new entry above every entry with a lower or equal score when it qualifies; a tenth
// entry drops the last one. The name is cut to 14 characters and padded with spaces to 14.
void insertHighScore(HighScoreTable& table, std::string_view playerName, std::int32_t score);

// The file's text: each name followed by its score in decimal, LF between entries, none after
// the last.
std::string formatHighScoreTable(const HighScoreTable& table);

// "01 " to "09 ", "10 ", then "011 ", "012 " ...
std::string rankPrefix(std::size_t rank);

// The screen's lines: every line of the file, the last piece included, behind its rank prefix.
std::vector<std::string> makeHighScoreLines(std::string_view contents);
