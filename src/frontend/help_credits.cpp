#include "frontend/help_credits.h"

#include "media/text.h"

#include <fstream>

namespace {

// Every line is drawn, also those below the screen's bottom, which are simply not seen; an empty
// line draws nothing but still takes its step.
void drawLines(const std::vector<std::string>& lines, float x, float firstY, int size) {
    float y = firstY;
    for (const std::string& line : lines) {
        drawText(line.c_str(), x, y, 1.0f, 1.0f, 1.0f, size);
        y -= 0.3f;
    }
}

} // namespace

void readTextLines(const std::string& fileName, std::vector<std::string>& lines) {
    std::ifstream file(fileName);
    if (!file.is_open()) {
        return;
    }
    // A read is taken as a line whatever it returned, until the stream meets the end: so a final
    // line feed is followed by one more, empty, line.
    std::string line;
    do {
        std::getline(file, line);
        const bool endedByLineFeed = !file.eof();
        // Files written on Windows end their lines with a carriage return, which is no part of
        // the line.
        if (endedByLineFeed && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    } while (file.good());
}

void drawHelpScreen(const MenuState& menu) {
    drawLines(menu.helpLines, -4.0f, 1.8f, 5);
}

void drawCreditsScreen(const MenuState& menu) {
    drawLines(menu.creditsLines, -3.7f, 1.7f, 10);
}
