#include "menu_fixtures.h"

#include "frontend/main_menu.h"
#include "frontend/settings_screen.h"
#include "media/sound.h"
#include "platform/key_state.h"
#include "platform/menu_frame.h"
#include "support/fixture_files.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// A picture's red channel numbers its file (from 1); green marks it as a fixture.
constexpr std::uint8_t fixtureGreen = 0x5A;

// The fixture files live as long as the test program; the sound system and the menu loaded from
// them live until a test needs the sound system for itself.
struct Fixtures {
    fs::path directory;
    std::unique_ptr<MenuState> menu;
    SoundClip effect;
    std::size_t loadBoxes = 0;
};

Fixtures fixtures;

void writeFixtureFiles() {
    fixtures.directory = makeTemporaryDirectory("hemorune-frontend");
    fs::create_directory(fixtures.directory / "IMGS");
    const std::vector<std::string>& pictures = menuPictureFiles();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        writePng(fixtures.directory / pictures[i], 1, 1,
                 {static_cast<std::uint8_t>(i + 1), fixtureGreen, 0, 255});
    }
    writeSilentWav(fixtures.directory / "menu2.wav", fixtureMusicRate * fixtureMusicSeconds,
                   fixtureMusicRate);
    writeSilentWav(fixtures.directory / "HIT.WAV", 800, fixtureMusicRate);
}

void loadFixtures() {
    if (fixtures.directory.empty()) {
        writeFixtureFiles();
    }
    ensureGlContext();
    initSound();
    const std::size_t boxesBefore = fakePlatform().boxes.size();
    WorkingDirectory inFixtures(fixtures.directory);
    fixtures.menu = std::make_unique<MenuState>();
    loadMenuAssets(*fixtures.menu);
    fixtures.effect = loadSound("HIT.WAV", false);
    fixtures.loadBoxes = fakePlatform().boxes.size() - boxesBefore;
}

class FixtureCleanUp : public ::testing::Environment {
  public:
    void TearDown() override {
        releaseLoadedMenu();
        if (!fixtures.directory.empty()) {
            fs::remove_all(fixtures.directory);
        }
    }
};

[[maybe_unused]] ::testing::Environment* const cleanUp =
    ::testing::AddGlobalTestEnvironment(new FixtureCleanUp);

} // namespace

const std::vector<std::string>& menuPictureFiles() {
    static const std::vector<std::string> files = {
        "IMGS/back.png",        "IMGS/play0.png",       "IMGS/play1.png",
        "IMGS/settings0.png",   "IMGS/settings1.png",   "IMGS/help0.png",
        "IMGS/help1.png",       "IMGS/highscore0.png",  "IMGS/highscore1.png",
        "IMGS/credits0.png",    "IMGS/credits1.png",    "IMGS/exit0.png",
        "IMGS/exit1.png",       "IMGS/apply0.png",      "IMGS/apply1.png",
        "IMGS/cancel0.png",     "IMGS/cancel1.png",     "IMGS/playername0.png",
        "IMGS/playername1.png", "IMGS/fullscreen0.png", "IMGS/fullscreen1.png",
        "IMGS/on0.png",         "IMGS/on1.png",         "IMGS/off0.png",
        "IMGS/off1.png",        "IMGS/resolution0.png", "IMGS/resolution1.png",
        "IMGS/640x480_1.png",   "IMGS/800x600_1.png",   "IMGS/1024x768_1.png",
        "IMGS/1280x1024_1.png", "IMGS/1280x800_1.png",  "IMGS/music0.png",
        "IMGS/music1.png",      "IMGS/sfx0.png",        "IMGS/sfx1.png",
        "IMGS/0_0.png",         "IMGS/0_1.png",         "IMGS/25_0.png",
        "IMGS/25_1.png",        "IMGS/50_0.png",        "IMGS/50_1.png",
        "IMGS/75_0.png",        "IMGS/75_1.png",        "IMGS/100_0.png",
        "IMGS/100_1.png"};
    return files;
}

const MenuState& loadedMenu() {
    if (!fixtures.menu) {
        loadFixtures();
    }
    EXPECT_EQ(fixtures.loadBoxes, 0u) << "every fixture picture and sound loads";
    return *fixtures.menu;
}

const SoundClip& effectClip() {
    loadedMenu();
    return fixtures.effect;
}

void releaseLoadedMenu() {
    if (fixtures.menu) {
        fixtures.menu.reset();
        shutDownSound();
    }
}

std::string pictureOf(std::uint32_t texture) {
    static std::map<std::uint32_t, std::string> known;
    if (texture == 0) {
        return "";
    }
    const auto found = known.find(texture);
    if (found != known.end()) {
        return found->second;
    }
    std::uint8_t pixel[4] = {};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    const std::vector<std::string>& files = menuPictureFiles();
    std::string name = "?";
    if (pixel[1] == fixtureGreen && pixel[0] >= 1 && pixel[0] <= files.size()) {
        name = files[pixel[0] - 1u];
    }
    known[texture] = name;
    return name;
}

void resetMenuState(GameState& state, std::int32_t screen, std::int32_t selection) {
    state.menu = loadedMenu();
    startSettings(state.menu);
    state.loop = LoopState{};
    state.loop.menuScreen = screen;
    state.loop.menuSelection = selection;
}

std::vector<DrawRecord> runMenuFrame(GameState& state, std::initializer_list<int> keys) {
    for (int key : keys) {
        keyState[key] = 1;
    }
    FakePlatform& fake = fakePlatform();
    fake.drawLog.clear();
    fake.drawLogOn = true;
    drawMenuFrame(state);
    fake.drawLogOn = false;
    return fake.drawLog;
}

std::vector<std::string> picturesDrawn(const std::vector<DrawRecord>& log) {
    std::vector<std::string> pictures;
    for (const DrawRecord& record : log) {
        if (record.kind == DrawRecord::Kind::sprite) {
            pictures.push_back(pictureOf(record.texture));
        }
    }
    return pictures;
}

std::vector<DrawRecord> textsDrawn(const std::vector<DrawRecord>& log) {
    std::vector<DrawRecord> texts;
    std::copy_if(log.begin(), log.end(), std::back_inserter(texts),
                 [](const DrawRecord& record) { return record.kind == DrawRecord::Kind::text; });
    return texts;
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& directory)
    : previous(fs::current_path()) {
    fs::current_path(directory);
}

WorkingDirectory::~WorkingDirectory() {
    fs::current_path(previous);
}

ScratchDirectory::ScratchDirectory() : directory(makeTemporaryDirectory("hemorune-frontend")) {}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

std::string ScratchDirectory::write(const std::string& name, const std::string& bytes) const {
    const fs::path path = directory / name;
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return path.string();
}
