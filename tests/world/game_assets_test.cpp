#include "media/sound.h"
#include "platform/settings.h"
#include "support/fake_platform.h"
#include "support/fixture_files.h"
#include "world/game_assets.h"

#include <AL/al.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> pictureFiles = {
    "qor_back2.png",   "qor_back.png",     "qor_bubi.png",    "qor_virus5.png",  "qor_virus7.png",
    "qor_virus8.png",  "qor_virus5h2.png", "qor_bullet1.png", "qor_bullet2.png", "qor_bullet3.png",
    "qor_bullet4.png", "life.png",         "life2.png",       "life3.png",       "qor_fver3.png",
    "qor_fver2.png",   "qor_fver.png",     "qor_fverx1.png",  "qor_fverx2.png",  "qor_vver.png",
    "qor_cigi.png",    "qor_cigi2.png",    "qor_olaj.png",    "qor_szuri.png",   "qor_bumm1.png",
    "qor_bumm2.png",   "qor_bumm3.png",    "qor_bumm4.png",   "qor_bumm5.png",   "qor_bumm6.png",
    "qor_bumm7.png",   "qor_bumm8.png",    "qor_bumm9.png",   "qor_bumm10.png"};

const std::vector<std::string> soundFiles = {
    "ingame2.wav",       "chainsaw.wav",   "loves.wav",
    "DRIPITY.WAV",       "TAOOOT.WAV",     "THUMP.WAV",
    "WALL.WAV",          "explode.wav",    "loadclip.wav",
    "pig.wav",           "ploop.wav",      "implosion2.wav",
    "HIT.WAV",           "pig_4.wav",      "damageborsos.wav",
    "bloodpressure.wav", "godlike.wav",    "perfectshooter.wav",
    "hardrockin.wav",    "beatmachine.wav"};

// Each picture is one pixel whose red channel numbers the file; each sound has its own length.
std::uint8_t pictureMark(std::size_t index) {
    return static_cast<std::uint8_t>(index + 1);
}

std::uint32_t soundSamples(std::size_t index) {
    return 100 + 10 * static_cast<std::uint32_t>(index);
}

class WorkingDirectory {
  public:
    explicit WorkingDirectory(const fs::path& directory) : previous(fs::current_path()) {
        fs::current_path(directory);
    }
    ~WorkingDirectory() { fs::current_path(previous); }

  private:
    fs::path previous;
};

fs::path makeFixtureDirectory() {
    const fs::path directory = makeTemporaryDirectory("hemorune-world");
    for (std::size_t i = 0; i < pictureFiles.size(); ++i) {
        writePng(directory / pictureFiles[i], 1, 1, {pictureMark(i), 0x5A, 0, 255});
    }
    for (std::size_t i = 0; i < soundFiles.size(); ++i) {
        writeSilentWav(directory / soundFiles[i], soundSamples(i));
    }
    return directory;
}

// Which fixture file a texture was made from: "" when none.
std::string pictureOf(TextureId texture) {
    if (texture == 0) {
        return "";
    }
    std::uint8_t pixel[4] = {};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    if (pixel[0] == 0 || pixel[0] > pictureFiles.size() || pixel[1] != 0x5A) {
        return "?";
    }
    return pictureFiles[pixel[0] - 1u];
}

// Which fixture file a clip was loaded from: "" for an empty slot.
std::string soundOf(const SoundClip& clip) {
    if (clip.buffer == 0 && clip.source == 0) {
        return "";
    }
    ALint bytes = 0;
    alGetBufferi(clip.buffer, AL_SIZE, &bytes);
    for (std::size_t i = 0; i < soundFiles.size(); ++i) {
        if (static_cast<std::uint32_t>(bytes) == 2 * soundSamples(i)) {
            return soundFiles[i];
        }
    }
    return "?";
}

bool loops(const SoundClip& clip) {
    ALint looping = -1;
    alGetSourcei(clip.source, AL_LOOPING, &looping);
    return looping == AL_TRUE;
}

const std::set<float> columns = {-3.25f, -2.25f, -1.25f, -0.25f, 0.75f, 1.75f, 2.75f};

class GameAssetsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Clips take the gain of the volume settings when they load; start from the defaults.
        gameSettings = GameSettings{50, 50, true, 600, 800};
        installFakePlatform();
        ensureGlContext();
        initSound();
        fixtures = makeFixtureDirectory();
        state = std::make_unique<GameState>();
        PlayState& play = state->play;
        // Values a previous run might have left; the load must reset every one.
        play.doubleDamageActive = true;
        play.doubleDamageOilNeeded = 9;
        play.ammunition = 120;
        play.reloadLatch = true;
        play.unharmableActive = true;
        play.unharmableStart = 500;
        play.perfectShooterActive = true;
        play.perfectShooterStart = 600;
        play.bloodPressureActive = true;
        play.bloodPressureStart = 700;
        play.beatmachineEarned = true;
        play.hardRockinPlayed = true;
        staticRecord[0].visible = true;
        std::srand(2024);
        WorkingDirectory inFixtures(fixtures);
        loadGameBackgrounds(state->world);
        loadGameAssets(*state);
    }
    static void TearDownTestSuite() {
        state.reset();
        shutDownSound();
        fs::remove_all(fixtures);
    }
    void SetUp() override { fake = &installFakePlatform(); }

    static inline fs::path fixtures;
    static inline std::unique_ptr<GameState> state;
    FakePlatform* fake = nullptr;
};

// A single record after the load: its picture and every value the load gives it. NAN: not fixed.
struct RecordRow {
    std::string name;
    GameObject World::*record;
    std::string picture;
    std::int32_t type;
    float x, y, z, width, height, speed;
    bool visible;
};

const std::vector<RecordRow> recordRows = {
    {"scrolling background", &World::scrollingBackground, "qor_back2.png", 5, 0, 0, -2.0f, 13.8f,
     10.4f, 0, true},
    {"static background", &World::staticBackground, "qor_back.png", 4, 0, 0, -2.5f, 13.8f, 10.4f, 0,
     true},
    {"bubble template", &World::bubbleTemplate, "qor_bubi.png", 8, 0, 0, -0.1f, 1, 1, 0, true},
    {"player", &World::player, "qor_virus5.png", 10, 0, -2.8f, 0, 3, 3, 0.065f, true},
    {"firing look A", &World::firingLookA, "qor_virus7.png", 10, 0, -2.8f, 0, 3, 3, 0, true},
    {"firing look B", &World::firingLookB, "qor_virus8.png", 10, 0, -2.8f, 0, 3, 3, 0, true},
    {"resting look", &World::restingLook, "qor_virus5.png", 10, 0, -2.8f, 0, 3, 3, 0, true},
    {"dying look", &World::dyingLook, "qor_virus5h2.png", 10, 0, -2.8f, 0, 3, 3, 0, true},
    {"bullet template", &World::bulletTemplate, "qor_bullet1.png", 9, 0, 0, 1.1f, 0.3f, 0.3f, 0,
     true},
    {"cell health bar", &World::cellHealthBar, "life.png", 9, 0, 0, 1.0f, 1, 1, 0, false},
    {"health gauge", &World::healthGauge, "life2.png", 9, -4.5f, -2.8f, 1.0f, 2.0f, 1.5f, 0, true},
    {"damage gauge", &World::damageGauge, "life3.png", 9, 4.5f, -2.8f, 1.0f, 2.0f, 1.5f, 0, true},
    {"white-cell template", &World::whiteCellTemplate, "qor_fver3.png", 1, 0, 0, 0.1f, 2, 2, 0,
     true},
    {"dead white-cell look", &World::deadWhiteCellLook, "qor_fver2.png", 1, 0, 0, 0.1f, 2, 2, 0,
     true},
    {"left-half template", &World::leftHalfTemplate, "qor_fverx1.png", 6, 0, -6.0f, 0.1f, 2, 2, 0,
     true},
    {"right-half template", &World::rightHalfTemplate, "qor_fverx2.png", 6, 0, -6.0f, 0.1f, 2, 2, 0,
     true},
    {"red-cell template", &World::redCellTemplate, "qor_vver.png", 1, 0, 0, 0.1f, 2, 2, 0, true},
    {"cigarette look", &World::cigaretteLook, "qor_cigi.png", 2, 0, 0, 0.05f, 2, 2, 0.04f, false},
    {"burnt-cigarette look", &World::burntCigaretteLook, "qor_cigi2.png", 2, 0, 0, 0.05f, 2, 2, 0,
     true},
    {"oil look", &World::oilLook, "qor_olaj.png", 3, 0, 0, 0.05f, 2, 2, 0.04f, false},
    {"syringe look", &World::syringeLook, "qor_szuri.png", 4, NAN, 5.0f, 0.5f, 2, 2, 0.04f, false},
    {"explosion template", &World::explosion, "qor_bumm1.png", 5, 0, 0, 3.0f, 2, 2, 0, false},
    {"bonus-sound object", &World::bonusSounds, "qor_szuri.png", 3, 0, 0, 0.5f, 2, 2, 0, true},
};

TEST_F(GameAssetsTest, EveryRecordHasItsPictureAndValues) {
    for (const RecordRow& row : recordRows) {
        SCOPED_TRACE(row.name);
        const GameObject& record = state->world.*row.record;
        EXPECT_EQ(pictureOf(record.texture), row.picture);
        EXPECT_EQ(record.type, row.type);
        if (!std::isnan(row.x)) {
            EXPECT_EQ(record.x, row.x);
        }
        EXPECT_EQ(record.y, row.y);
        EXPECT_EQ(record.z, row.z);
        EXPECT_EQ(record.width, row.width);
        EXPECT_EQ(record.height, row.height);
        EXPECT_EQ(record.speed, row.speed);
        EXPECT_EQ(record.visible, row.visible);
        EXPECT_EQ(record.angle, 0.0f);
        EXPECT_EQ(record.phase, 0);
        EXPECT_EQ(record.health, 100);
        EXPECT_EQ(record.level, 0);
    }
    EXPECT_EQ(columns.count(state->world.syringeLook.x), 1u) << state->world.syringeLook.x;
    EXPECT_EQ(pictureOf(state->world.revivedWhiteCellTexture), "qor_fver.png");
}

TEST_F(GameAssetsTest, BulletsAndTheirLooks) {
    const World& world = state->world;
    for (std::size_t b = 0; b < world.bullets.size(); ++b) {
        SCOPED_TRACE(b);
        const GameObject& bullet = world.bullets[b];
        EXPECT_EQ(bullet.x, 0.0f);
        EXPECT_NEAR(bullet.y, -1.3f, 1e-6);
        EXPECT_TRUE(bullet.visible);
        EXPECT_EQ(pictureOf(bullet.texture), "qor_bullet1.png");
        const GameObject& flash = world.impactFlashes[b];
        EXPECT_EQ(pictureOf(flash.texture), "qor_bullet1.png");
        EXPECT_EQ(flash.phase, 0);
        EXPECT_TRUE(flash.visible);
        EXPECT_EQ(flash.width, 0.3f);
    }
    for (std::size_t k = 0; k < world.bulletLooks.size(); ++k) {
        SCOPED_TRACE(k);
        const GameObject& look = world.bulletLooks[k];
        EXPECT_EQ(pictureOf(look.texture), "qor_bullet" + std::to_string(k + 1) + ".png");
        EXPECT_EQ(look.type, kindStill);
        EXPECT_EQ(look.z, 1.1f);
        EXPECT_EQ(look.width, 0.3f);
        EXPECT_EQ(look.height, 0.3f);
    }
}

TEST_F(GameAssetsTest, ExplosionFrameKShowsItsPicture) {
    const World& world = state->world;
    for (std::size_t k = 0; k < world.explosionFrames.size(); ++k) {
        SCOPED_TRACE(k);
        const GameObject& frame = world.explosionFrames[k];
        EXPECT_EQ(pictureOf(frame.texture), "qor_bumm" + std::to_string(k + 1) + ".png");
        EXPECT_EQ(frame.type, kindScroll);
        EXPECT_EQ(frame.z, 3.0f);
        EXPECT_FALSE(frame.visible);
    }
}

// The pools of falling things: copies of their templates with the start values of the load.
struct PoolRow {
    std::string name;
    std::function<std::vector<const GameObject*>(const World&)> elements;
    std::string picture;
    std::int32_t type;
    float y;                // NAN: not fixed
    std::set<float> speeds; // every element's speed is one of these
    bool inColumns;         // x in one of the seven columns, else x 0
    std::int32_t health;
    bool randomAngle;
};

template <std::size_t count>
std::vector<const GameObject*> pointersTo(const std::array<GameObject, count>& pool) {
    std::vector<const GameObject*> pointers;
    for (const GameObject& element : pool) {
        pointers.push_back(&element);
    }
    return pointers;
}

const std::set<float> cellSpeeds = {0.04f, 0.05f, 0.06f};

const std::vector<PoolRow> poolRows = {
    {"bubbles",
     [](const World& w) { return pointersTo(w.bubbles); },
     "qor_bubi.png",
     8,
     5.0f,
     {0.03f},
     true,
     20,
     false},
    {"white cells", [](const World& w) { return pointersTo(w.whiteCells); }, "qor_fver3.png", 1,
     5.0f, cellSpeeds, true, 100, false},
    {"red cells", [](const World& w) { return pointersTo(w.redCells); }, "qor_vver.png", 1, 5.0f,
     cellSpeeds, true, 100, false},
    {"left halves", [](const World& w) { return pointersTo(w.leftHalves); }, "qor_fverx1.png", 6,
     -6.0f, cellSpeeds, false, 100, true},
    {"right halves", [](const World& w) { return pointersTo(w.rightHalves); }, "qor_fverx2.png", 6,
     -6.0f, cellSpeeds, false, 100, true},
};

TEST_F(GameAssetsTest, PoolsStartFromTheirTemplatesWithTheirStartValues) {
    for (const PoolRow& row : poolRows) {
        SCOPED_TRACE(row.name);
        std::set<float> xs;
        std::set<float> angles;
        for (const GameObject* element : row.elements(state->world)) {
            EXPECT_EQ(pictureOf(element->texture), row.picture);
            EXPECT_EQ(element->type, row.type);
            EXPECT_EQ(element->y, row.y);
            EXPECT_EQ(row.speeds.count(element->speed), 1u) << element->speed;
            if (row.inColumns) {
                EXPECT_EQ(columns.count(element->x), 1u) << element->x;
            } else {
                EXPECT_EQ(element->x, 0.0f);
            }
            EXPECT_EQ(element->health, row.health);
            EXPECT_TRUE(element->visible);
            EXPECT_EQ(element->sway, 0.0f) << "the first cells fall without drifting";
            if (row.randomAngle) {
                EXPECT_EQ(element->angle, std::floor(element->angle));
                EXPECT_GE(element->angle, 0.0f);
                EXPECT_LT(element->angle, 360.0f);
            } else {
                EXPECT_EQ(element->angle, 0.0f);
            }
            xs.insert(element->x);
            angles.insert(element->angle);
        }
        if (row.inColumns) {
            EXPECT_GT(xs.size(), 1u) << "the columns are drawn per element";
        }
        if (row.randomAngle) {
            EXPECT_GT(angles.size(), 1u) << "the angles are drawn per element";
        }
    }
}

// The records that hold clips, slot by slot; every other slot of theirs is empty.
struct SoundHolder {
    std::string name;
    GameObject World::*record;
    std::map<int, std::string> slots;
    bool looping;
};

const std::vector<SoundHolder> soundHolders = {
    {"static background",
     &World::staticBackground,
     {{0, "ingame2.wav"}, {2, "chainsaw.wav"}, {5, "loves.wav"}},
     true},
    {"bubble template",
     &World::bubbleTemplate,
     {{0, "DRIPITY.WAV"}, {1, "TAOOOT.WAV"}, {2, "THUMP.WAV"}, {3, "WALL.WAV"}, {4, "explode.wav"}},
     false},
    {"player", &World::player, {{0, "loadclip.wav"}}, false},
    {"white-cell template",
     &World::whiteCellTemplate,
     {{0, "pig.wav"}, {1, "ploop.wav"}, {2, "loadclip.wav"}, {3, "implosion2.wav"}, {4, "HIT.WAV"}},
     false},
    {"red-cell template", &World::redCellTemplate, {{0, "pig_4.wav"}}, false},
    {"bonus-sound object",
     &World::bonusSounds,
     {{0, "damageborsos.wav"},
      {1, "bloodpressure.wav"},
      {2, "godlike.wav"},
      {3, "perfectshooter.wav"},
      {4, "hardrockin.wav"},
      {5, "beatmachine.wav"}},
     false},
};

TEST_F(GameAssetsTest, SoundHoldersHaveTheirClipsInTheirSlots) {
    for (const SoundHolder& holder : soundHolders) {
        const GameObject& record = state->world.*holder.record;
        for (int slot = 0; slot < 9; ++slot) {
            SCOPED_TRACE(holder.name + " slot " + std::to_string(slot));
            const auto listed = holder.slots.find(slot);
            const std::string file = listed == holder.slots.end() ? "" : listed->second;
            EXPECT_EQ(soundOf(record.sounds[slot]), file);
            if (!file.empty()) {
                EXPECT_EQ(loops(record.sounds[slot]), holder.looping);
            }
        }
    }
}

TEST_F(GameAssetsTest, NoOtherRecordAndNoPoolElementHoldsAClip) {
    const World& world = state->world;
    std::vector<std::pair<std::string, const GameObject*>> silent;
    for (const RecordRow& row : recordRows) {
        bool holder = false;
        for (const SoundHolder& soundHolder : soundHolders) {
            holder = holder || soundHolder.record == row.record;
        }
        if (!holder) {
            silent.emplace_back(row.name, &(world.*row.record));
        }
    }
    for (const PoolRow& row : poolRows) {
        for (const GameObject* element : row.elements(world)) {
            silent.emplace_back(row.name, element);
        }
    }
    auto addPool = [&silent](const std::string& name, const auto& pool) {
        for (const GameObject& element : pool) {
            silent.emplace_back(name, &element);
        }
    };
    addPool("bullets", world.bullets);
    addPool("bullet looks", world.bulletLooks);
    addPool("impact flashes", world.impactFlashes);
    addPool("explosion frames", world.explosionFrames);
    EXPECT_EQ(silent.size(), 17u + 45u + 20u);
    for (const auto& [name, record] : silent) {
        for (const SoundClip& clip : record->sounds) {
            EXPECT_EQ(clip.buffer, 0u) << name;
            EXPECT_EQ(clip.source, 0u) << name;
        }
    }
}

TEST_F(GameAssetsTest, ModeFlagsAreResetAndTheStaticRecordHidden) {
    const PlayState& play = state->play;
    EXPECT_FALSE(play.doubleDamageActive);
    EXPECT_EQ(play.doubleDamageOilNeeded, 5);
    EXPECT_EQ(play.ammunition, 0);
    EXPECT_FALSE(play.reloadLatch);
    EXPECT_FALSE(play.unharmableActive);
    EXPECT_EQ(play.unharmableStart, 0);
    EXPECT_FALSE(play.perfectShooterActive);
    EXPECT_EQ(play.perfectShooterStart, 0u);
    EXPECT_FALSE(play.bloodPressureActive);
    EXPECT_EQ(play.bloodPressureStart, 0u);
    EXPECT_FALSE(play.beatmachineEarned);
    EXPECT_FALSE(play.hardRockinPlayed);
    EXPECT_FALSE(staticRecord[0].visible);
}

TEST_F(GameAssetsTest, SetSoundLoopsExactlyForTheSpinKind) {
    WorkingDirectory inFixtures(fixtures);
    for (std::int32_t type : {kindSway, kindPulse, kindSpin, kindScroll, kindPlayer}) {
        SCOPED_TRACE(type);
        GameObject record;
        record.type = type;
        setSound(record, 8, "WALL.WAV");
        EXPECT_EQ(soundOf(record.sounds[8]), "WALL.WAV");
        EXPECT_EQ(loops(record.sounds[8]), type == kindSpin);
    }
}

TEST_F(GameAssetsTest, ConstructionDefaults) {
    WorkingDirectory inFixtures(fixtures);
    const GameObject record = makeStaticRecord();
    EXPECT_EQ(pictureOf(record.texture), "qor_virus5.png");
    EXPECT_EQ(record.x, 0.0f);
    EXPECT_EQ(record.y, 0.0f);
    EXPECT_EQ(record.angle, 0.0f);
    EXPECT_EQ(record.z, 0.1f);
    EXPECT_TRUE(record.visible);
    EXPECT_EQ(record.type, kindSway);
    EXPECT_EQ(record.width, 2.0f);
    EXPECT_EQ(record.height, 2.0f);
    EXPECT_EQ(record.health, 100);
    EXPECT_EQ(record.speed, 0.0f);
    EXPECT_EQ(record.sway, 0.0f);
    EXPECT_FALSE(record.small || record.squeezing || record.revived);
    for (const SoundClip& clip : record.sounds) {
        EXPECT_EQ(clip.source, 0u);
    }
}

TEST_F(GameAssetsTest, StaticRecordWithoutItsPictureEndsTheProgram) {
    const fs::path empty = fixtures / "empty";
    fs::create_directory(empty);
    WorkingDirectory inEmpty(empty);
    int status = -1;
    try {
        makeStaticRecord();
    } catch (const ProcessExit& exit) {
        status = exit.status;
    }
    EXPECT_EQ(status, 1);
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "nyalod");
}

// The generated run directory holds every file the load names, under exactly these names.
TEST(GameAssetsInRunDirectory, LoadFindsEveryFileWithoutAMessage) {
    const fs::path runDirectory = HEMORUNE_RUN_DIR;
    if (!fs::exists(runDirectory / "qor_back.png")) {
        GTEST_SKIP() << "the run directory is not generated: build the run-data target";
    }
    FakePlatform& fake = installFakePlatform();
    ensureGlContext();
    initSound();
    auto loaded = std::make_unique<GameState>();
    {
        WorkingDirectory inRun(runDirectory);
        loadGameBackgrounds(loaded->world);
        loadGameAssets(*loaded);
    }
    EXPECT_TRUE(fake.boxes.empty()) << (fake.boxes.empty() ? "" : fake.boxes.front().text);
    for (const RecordRow& row : recordRows) {
        EXPECT_NE((loaded->world.*row.record).texture, 0u) << row.name;
    }
    EXPECT_NE(loaded->world.bonusSounds.sounds[5].source, 0u);
    shutDownSound();
}

} // namespace
