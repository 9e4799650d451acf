#include "enemies_fixture.h"

#include "media/sound.h"
#include "platform/key_state.h"
#include "platform/settings.h"
#include "support/fixture_files.h"
#include "world/game_assets.h"

#include <AL/al.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

const char* const pictureFiles[] = {
    "qor_back2.png",   "qor_back.png",     "qor_bubi.png",    "qor_virus5.png",  "qor_virus7.png",
    "qor_virus8.png",  "qor_virus5h2.png", "qor_bullet1.png", "qor_bullet2.png", "qor_bullet3.png",
    "qor_bullet4.png", "life.png",         "life2.png",       "life3.png",       "qor_fver3.png",
    "qor_fver2.png",   "qor_fver.png",     "qor_fverx1.png",  "qor_fverx2.png",  "qor_vver.png",
    "qor_cigi.png",    "qor_cigi2.png",    "qor_olaj.png",    "qor_szuri.png",   "qor_bumm1.png",
    "qor_bumm2.png",   "qor_bumm3.png",    "qor_bumm4.png",   "qor_bumm5.png",   "qor_bumm6.png",
    "qor_bumm7.png",   "qor_bumm8.png",    "qor_bumm9.png",   "qor_bumm10.png"};

const char* const soundFiles[] = {"ingame2.wav",        "ingame5.wav",       "chainsaw.wav",
                                  "loves.wav",          "DRIPITY.WAV",       "TAOOOT.WAV",
                                  "THUMP.WAV",          "WALL.WAV",          "explode.wav",
                                  "loadclip.wav",       "pig.wav",           "ploop.wav",
                                  "implosion2.wav",     "HIT.WAV",           "pig_4.wav",
                                  "damageborsos.wav",   "bloodpressure.wav", "godlike.wav",
                                  "perfectshooter.wav", "hardrockin.wav",    "beatmachine.wav"};

fs::path makeFixtureDirectory() {
    const fs::path directory = makeTemporaryDirectory("hemorune-enemies");
    for (const char* name : pictureFiles) {
        writePng(directory / name, 1, 1, {200, 40, 40, 255});
    }
    for (const char* name : soundFiles) {
        writeSilentWav(directory / name, 8000); // a second
    }
    return directory;
}

// Removes the fixture directory when the test program ends.
struct FixtureDirectory {
    fs::path path;
    ~FixtureDirectory() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(path, ignored);
    }
};

std::unique_ptr<GameState> buildLoadedGame() {
    static FixtureDirectory fixtures{makeFixtureDirectory()};
    fs::current_path(fixtures.path);
    gameSettings = GameSettings{50, 50, true, 600, 800};
    installFakePlatform();
    ensureGlContext();
    initSound();
    auto state = std::make_unique<GameState>();
    std::srand(7);
    loadGameBackgrounds(state->world);
    loadGameAssets(*state);
    return state;
}

ALint sourceState(const SoundClip& clip) {
    ALint value = AL_INITIAL;
    alGetSourcei(clip.source, AL_SOURCE_STATE, &value);
    return value;
}

void rewindClips(const GameObject& holder) {
    for (const SoundClip& clip : holder.sounds) {
        if (clip.source != 0) {
            alSourceRewind(clip.source);
        }
    }
}

// Closes the sound system after the last test.
class SoundShutDown : public ::testing::Environment {
  public:
    void TearDown() override { shutDownSound(); }
};
const ::testing::Environment* const soundShutDown =
    ::testing::AddGlobalTestEnvironment(new SoundShutDown);

} // namespace

const GameState& loadedGame() {
    static const std::unique_ptr<GameState> state = buildLoadedGame();
    return *state;
}

bool wasPlayed(const SoundClip& clip) {
    return clip.source != 0 && sourceState(clip) != AL_INITIAL;
}

bool isPlaying(const SoundClip& clip) {
    return clip.source != 0 && sourceState(clip) == AL_PLAYING;
}

void rewindAllSounds() {
    const World& world = loadedGame().world;
    for (const GameObject* holder :
         {&world.staticBackground, &world.bubbleTemplate, &world.player, &world.whiteCellTemplate,
          &world.redCellTemplate, &world.bonusSounds}) {
        rewindClips(*holder);
    }
}

std::vector<std::string> textsDrawn(const FakePlatform& fake) {
    std::vector<std::string> texts;
    for (const DrawRecord& record : fake.drawLog) {
        if (record.kind == DrawRecord::Kind::text) {
            texts.push_back(record.text);
        }
    }
    return texts;
}

bool drewText(const FakePlatform& fake, const std::string& text) {
    for (const std::string& drawn : textsDrawn(fake)) {
        if (drawn == text) {
            return true;
        }
    }
    return false;
}

int spritesDrawnWith(const FakePlatform& fake, TextureId texture) {
    int count = 0;
    for (const DrawRecord& record : fake.drawLog) {
        if (record.kind == DrawRecord::Kind::sprite && record.texture == texture) {
            count += 1;
        }
    }
    return count;
}

void EnemiesTest::SetUp() {
    const GameState& loaded = loadedGame();
    fake = &installFakePlatform();
    fake->drawLogOn = true;
    keyState.fill(0);
    f2EndsGame = false;
    state = loaded;
    rewindAllSounds();
    std::srand(1);
}

void EnemiesTest::putOnPlayer(GameObject& object) const {
    object.x = state.world.player.x;
    object.y = state.world.player.y;
}

void EnemiesTest::putAway(GameObject& object) {
    object.x = 3.0f;
    object.y = 4.0f;
}
