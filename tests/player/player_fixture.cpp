#include "player_fixture.h"

#include "media/sound.h"
#include "platform/key_state.h"
#include "support/fixture_files.h"

#include <AL/al.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

GameObject makeRecord(TextureId texture, std::int32_t type, float size, float z) {
    GameObject object;
    object.texture = texture;
    object.visible = true;
    object.type = type;
    object.height = size;
    object.width = size;
    object.z = z;
    object.health = 100;
    return object;
}

GameObject makeVirusLook(TextureId texture) {
    GameObject look = makeRecord(texture, kindPlayer, 3.0f, 0);
    look.y = -2.8f;
    return look;
}

GameObject makeGauge(TextureId texture, float x) {
    GameObject gauge = makeRecord(texture, kindStill, 1.5f, 1.0f);
    gauge.width = 2.0f;
    gauge.x = x;
    gauge.y = -2.8f;
    return gauge;
}

std::unique_ptr<GameState> buildPlay() {
    const fs::path directory = makeTemporaryDirectory("hemorune-player");
    const fs::path wav = directory / "silence.wav";
    writeSilentWav(wav, 8000); // a second
    installFakePlatform();
    ensureGlContext();
    initSound();

    auto state = std::make_unique<GameState>();
    World& world = state->world;
    world.staticBackground = makeRecord(90, kindSpin, 10.4f, -2.5f);
    world.staticBackground.sounds[5] = loadSound(wav.string(), true);
    world.whiteCellTemplate = makeRecord(whiteCellTexture, kindSway, 2.0f, 0.1f);
    world.whiteCellTemplate.sounds[2] = loadSound(wav.string(), false);
    world.bonusSounds = makeRecord(91, kindPulse, 2.0f, 0.5f);
    world.bonusSounds.sounds[0] = loadSound(wav.string(), false);
    world.bonusSounds.sounds[2] = loadSound(wav.string(), false);

    world.player = makeVirusLook(restingTexture);
    world.player.speed = 0.065f;
    world.firingLookA = makeVirusLook(firingATexture);
    world.firingLookB = makeVirusLook(firingBTexture);
    world.restingLook = makeVirusLook(restingTexture);

    world.bulletTemplate = makeRecord(bulletLookTextures[0], kindStill, 0.3f, 1.1f);
    world.bullets.fill(world.bulletTemplate);
    for (GameObject& bullet : world.bullets) {
        bullet.y = world.player.y + world.player.width * 0.5f;
    }
    for (int i = 0; i < 4; ++i) {
        world.bulletLooks[i] = makeRecord(bulletLookTextures[i], kindStill, 0.3f, 1.1f);
    }
    world.impactFlashes.fill(world.bulletTemplate);

    world.cellHealthBar = makeRecord(33, kindStill, 1.0f, 1.0f);
    world.cellHealthBar.visible = false;
    world.healthGauge = makeGauge(healthGaugeTexture, -4.5f);
    world.damageGauge = makeGauge(damageGaugeTexture, 4.5f);

    world.whiteCells.fill(world.whiteCellTemplate);
    for (GameObject& cell : world.whiteCells) {
        cell.y = 20.0f;
    }
    world.bubbleTemplate = makeRecord(bubbleTexture, kindFall, 1.0f, -0.1f);
    world.bubbles.fill(world.bubbleTemplate);
    for (GameObject& bubble : world.bubbles) {
        bubble.y = 20.0f;
    }
    state->play.whiteCellCount = 10;
    state->play.bubbleCount = 4;
    fs::remove_all(directory);
    return state;
}

ALint sourceState(const SoundClip& clip) {
    ALint value = AL_INITIAL;
    alGetSourcei(clip.source, AL_SOURCE_STATE, &value);
    return value;
}

// Closes the sound system after the last test.
class SoundShutDown : public ::testing::Environment {
  public:
    void TearDown() override { shutDownSound(); }
};
const ::testing::Environment* const soundShutDown =
    ::testing::AddGlobalTestEnvironment(new SoundShutDown);

} // namespace

const GameState& builtPlay() {
    static const std::unique_ptr<GameState> state = buildPlay();
    return *state;
}

void rewindSound(const SoundClip& clip) {
    alSourceRewind(clip.source);
}

bool wasPlayed(const SoundClip& clip) {
    return sourceState(clip) != AL_INITIAL;
}

bool isPlaying(const SoundClip& clip) {
    return sourceState(clip) == AL_PLAYING;
}

bool isStopped(const SoundClip& clip) {
    return sourceState(clip) == AL_STOPPED;
}

std::vector<DrawRecord> textsDrawn(const FakePlatform& fake) {
    std::vector<DrawRecord> texts;
    for (const DrawRecord& record : fake.drawLog) {
        if (record.kind == DrawRecord::Kind::text) {
            texts.push_back(record);
        }
    }
    return texts;
}

const DrawRecord* findText(const FakePlatform& fake, const std::string& text) {
    for (const DrawRecord& record : fake.drawLog) {
        if (record.kind == DrawRecord::Kind::text && record.text == text) {
            return &record;
        }
    }
    return nullptr;
}

std::vector<DrawRecord> spritesDrawn(const FakePlatform& fake) {
    std::vector<DrawRecord> sprites;
    for (const DrawRecord& record : fake.drawLog) {
        if (record.kind == DrawRecord::Kind::sprite) {
            sprites.push_back(record);
        }
    }
    return sprites;
}

void PlayerTest::SetUp() {
    const GameState& built = builtPlay();
    fake = &installFakePlatform();
    fake->drawLogOn = true;
    keyState.fill(0);
    state = built;
    const World& world = state.world;
    for (const SoundClip* clip :
         {&world.staticBackground.sounds[5], &world.whiteCellTemplate.sounds[2],
          &world.bonusSounds.sounds[0], &world.bonusSounds.sounds[2]}) {
        rewindSound(*clip);
    }
    std::srand(1);
}

void PlayerTest::hold(int virtualKey) {
    keyState[virtualKey] = 1;
}

void PlayerTest::release(int virtualKey) {
    keyState[virtualKey] = 0;
}

void PlayerTest::startFrame() {
    fake->drawLog.clear();
}
