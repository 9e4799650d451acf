#include "font_source.h"

#include "process.h"

#include <filesystem>

namespace {

constexpr const char* wantedPattern = "DejaVu Sans:style=Bold";
constexpr const char* wantedFile = "DejaVuSans-Bold.ttf";

} // namespace

FontLookup findGameFont() {
    const ProgramResult result = runProgram({"fc-match", "--format=%{file}", wantedPattern});
    if (!result.started) {
        return {"", "fc-match (fontconfig) is not installed; run scripts/setup.sh"};
    }
    const std::filesystem::path path = result.output;
    // fc-match always answers with some face; only the one the credits name will do.
    if (result.exitStatus != 0 || path.filename() != wantedFile ||
        !std::filesystem::is_regular_file(path)) {
        return {"", std::string("fc-match found no ") + wantedPattern + " (got '" + result.output +
                        "'); install fonts-dejavu-core (scripts/setup.sh)"};
    }
    return {path.string(), ""};
}
