#include "scores/high_scores.h"

#include "media/text.h"
#include "scores/high_score_table.h"

void recordHighScore(HighScoreState& scores, const std::string& playerName, std::int32_t score,
                     const std::string& path, const HighScoreFileOps& ops) {
    std::string contents;
    // A read that broke off part way may have missed entries; rewriting from it would lose them.
    if (readWholeFile(path, contents) != FileRead::failed) {
        HighScoreTable table = parseHighScoreTable(contents);
        insertHighScore(table, playerName, score);
        replaceFileAtomically(path, formatHighScoreTable(table), ops);
    }
    scores.reloadHighScores = true;
}

void loadHighScoreLines(HighScoreState& scores, const std::string& path) {
    std::string contents;
    if (readWholeFile(path, contents) != FileRead::ok) {
        contents.clear();
    }
    scores.highScoreLines = makeHighScoreLines(contents);
    scores.reloadHighScores = false;
}

void drawHighScoreScreen(HighScoreState& scores, const std::string& path) {
    if (scores.reloadHighScores) {
        loadHighScoreLines(scores, path);
    }
    if (scores.highScoreLines.empty()) {
        return;
    }
    // The first line is only its prefix when the file is empty or starts with a blank line.
    if (scores.highScoreLines.front() == "01 ") {
        drawText("NO HIGHSCORE DATA", -3.7f, 1.5f, 1.0f, 1.0f, 1.0f, 30);
        return;
    }
    for (std::size_t i = 0; i < scores.highScoreLines.size(); ++i) {
        drawText(scores.highScoreLines[i].c_str(), -3.7f, 1.5f - 0.7f * static_cast<float>(i), 1.0f,
                 1.0f, 1.0f, 30);
    }
}
