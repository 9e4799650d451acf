#include "enemies_fixture.h"

#include "media/sound.h"
#include "platform/key_state.h"
#include "platform/settings.h"
#include "world/game_assets.h"

#include <AL/al.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

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

void put32(Bytes& out, std::uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putText(Bytes& out, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        out.push_back(static_cast<std::uint8_t>(*c));
    }
}

std::uint32_t crc32Of(const Bytes& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

void putChunk(Bytes& png, const char* type, const Bytes& data) {
    put32(png, static_cast<std::uint32_t>(data.size()), true);
    const std::size_t typeStart = png.size();
    putText(png, type);
    png.insert(png.end(), data.begin(), data.end());
    put32(png, crc32Of(png, typeStart), true);
}

// A 1 x 1 RGBA picture, its one scanline in a stored deflate block.
Bytes onePixelPng() {
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    put32(header, 1, true);
    put32(header, 1, true);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(png, "IHDR", header);
    const Bytes raw = {0, 200, 40, 40, 255};
    Bytes zlib = {0x78, 0x01, 1};
    put16(zlib, static_cast<std::uint32_t>(raw.size()));
    put16(zlib, static_cast<std::uint32_t>(~raw.size() & 0xFFFFu));
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    put32(zlib, (b << 16) | a, true);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    return png;
}

// A second of silent 8 kHz mono PCM.
Bytes silentWav() {
    const std::uint32_t dataBytes = 16000;
    Bytes wav;
    putText(wav, "RIFF");
    put32(wav, 36 + dataBytes, false);
    putText(wav, "WAVEfmt ");
    put32(wav, 16, false);
    put16(wav, 1);
    put16(wav, 1);
    put32(wav, 8000, false);
    put32(wav, 16000, false);
    put16(wav, 2);
    put16(wav, 16);
    putText(wav, "data");
    put32(wav, dataBytes, false);
    wav.resize(wav.size() + dataBytes, 0);
    return wav;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

fs::path makeFixtureDirectory() {
    std::string pattern = (fs::temp_directory_path() / "hemorune-enemies-XXXXXX").string();
    const fs::path directory = mkdtemp(pattern.data());
    for (const char* name : pictureFiles) {
        writeFile(directory / name, onePixelPng());
    }
    for (const char* name : soundFiles) {
        writeFile(directory / name, silentWav());
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
