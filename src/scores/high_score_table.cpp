#include "scores/high_score_table.h"

#include <algorithm>
#include <limits>

namespace {

bool isAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Takes the line that starts at `at` and moves `at` past its line break; false once the piece
// after the last line break has been taken.
bool takeLine(std::string_view contents, std::size_t& at, std::string_view& line) {
    if (at == std::string_view::npos) {
        return false;
    }
    const std::size_t end = contents.find('\n', at);
    if (end == std::string_view::npos) {
        line = contents.substr(at);
        at = std::string_view::npos;
        return true;
    }
    line = contents.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    at = end + 1;
    return true;
}

} // namespace

std::int32_t readScoreText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isAtoiSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    // One past the largest magnitude is enough to know the value saturates either way.
    constexpr std::int64_t ceiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t magnitude = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), ceiling);
        ++at;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

HighScoreTable parseHighScoreTable(std::string_view contents) {
    HighScoreTable table;
    std::size_t at = 0;
    std::string_view line;
    while (takeLine(contents, at, line)) {
        if (line.empty()) {
            continue;
        }
        const std::size_t nameLength = std::min(line.size(), highScoreNameWidth);
        table.names.emplace_back(line.substr(0, nameLength));
        table.scores.push_back(readScoreText(line.substr(nameLength)));
    }
    return table;
}

void insertHighScore(HighScoreTable& table, std::string_view playerName, std::int32_t score) {
    // The settings screen allows 15 characters; a 15th would run into the score text.
    std::string name(playerName.substr(0, std::min(playerName.size(), highScoreNameWidth)));
    name.resize(highScoreNameWidth, ' ');
    if (table.scores.empty()) {
        table.names.push_back(name);
        table.scores.push_back(score);
        return;
    }
    if (score <= table.scores.back() && table.scores.size() >= highScoreTableLength) {
        return;
    }
    // The first entry not above the new score: a new score goes above older equal ones.
    const auto place = std::find_if(table.scores.begin(), table.scores.end(),
                                    [score](std::int32_t old) { return old <= score; });
    const auto index = place - table.scores.begin();
    table.scores.insert(place, score);
    table.names.insert(table.names.begin() + index, name);
    // Only the step from 9 to 10 drops an entry; a longer hand-made list keeps its length plus one.
    if (table.scores.size() == highScoreTableLength + 1) {
        table.scores.pop_back();
        table.names.pop_back();
    }
}

std::string formatHighScoreTable(const HighScoreTable& table) {
    std::string text;
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += table.names[i];
        text += std::to_string(table.scores[i]);
    }
    return text;
}

std::string rankPrefix(std::size_t rank) {
    return (rank == 10 ? "" : "0") + std::to_string(rank) + " ";
}

std::vector<std::string> makeHighScoreLines(std::string_view contents) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    std::string_view line;
    while (lines.size() < highScoreScreenLineLimit && takeLine(contents, at, line)) {
        line = line.substr(0, std::min(line.size(), highScoreScreenWidthLimit));
        lines.push_back(rankPrefix(lines.size() + 1) + std::string(line));
    }
    return lines;
}
