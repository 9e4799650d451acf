#include "media/media_fixtures.h"
#include "media/sound.h"
#include "platform/settings.h"
#include "support/fake_platform.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

void ensureSoundStarted() {
    static bool started = false;
    if (!started) {
        initSound();
        started = true;
    }
}

// Runs a test body with the working directory switched to dir, as the game loads by bare names.
struct WorkingDirectory {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit WorkingDirectory(const std::filesystem::path& dir) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
};

class SoundTest : public testing::Test {
  protected:
    void SetUp() override {
        fake = &installFakePlatform();
        ensureSoundStarted();
        gameSettings.musicVolume = 100;
        gameSettings.effectsVolume = 100;
        alGetError();
        writeWav(dir.file("pig.wav"), steadyLevel(50, 6000), wavRate);
    }
    void TearDown() override {
        gameSettings.musicVolume = 100;
        gameSettings.effectsVolume = 100;
    }
    FakePlatform* fake = nullptr;
    ScratchDir dir;
};

TEST_F(SoundTest, AFileThatCannotBeLoadedShowsItsNameAndEndsTheProgram) {
    writeBytes(dir.file("text.wav"), {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
    writeBytes(dir.file("empty.wav"), {});
    WorkingDirectory inDir(dir.path);
    for (const char* name : {"missing.wav", "text.wav", "empty.wav"}) {
        SCOPED_TRACE(name);
        fake->boxes.clear();
        try {
            loadSound(name, false);
            ADD_FAILURE() << "the load went on";
        } catch (const ProcessExit& exit) {
            EXPECT_EQ(exit.status, 1);
        }
        ASSERT_EQ(fake->boxes.size(), 1u);
        EXPECT_EQ(fake->boxes[0].text, name);
        EXPECT_EQ(fake->boxes[0].caption, "Cannot load this file");
        EXPECT_EQ(fake->boxes[0].icon, BoxIcon::error);
        alGetError();
    }
}

TEST_F(SoundTest, AMissingPigShowsPigWav) {
    ScratchDir empty;
    WorkingDirectory inDir(empty.path);
    EXPECT_THROW(loadSound("pig.wav", false), ProcessExit);
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "pig.wav");
}

TEST_F(SoundTest, AnEmptySlotCanBePlayedAndStoppedWithoutSpoilingTheNextLoad) {
    const SoundClip empty;
    stopSound(empty);
    playSound(empty);
    const SoundClip clip = loadSound(dir.file("pig.wav"), false);
    EXPECT_TRUE(fake->boxes.empty());
    EXPECT_NE(clip.source, 0u);
}

TEST_F(SoundTest, ALoadedClipHoldsTheFileAndTheGameSettings) {
    // Disturb the listener, so that the load has to set it again.
    const float elsewhere[6] = {1, 0, 0, 0, 0, 1};
    alListenerfv(AL_ORIENTATION, elsewhere);
    for (const bool looping : {false, true}) {
        SCOPED_TRACE(looping);
        const std::uint32_t before = clipsLoaded();
        const SoundClip clip = loadSound(dir.file("pig.wav"), looping);
        EXPECT_EQ(clipsLoaded() - before, 1u);
        ALint bound = 0;
        ALint loops = -1;
        ALint frequency = 0;
        ALint size = 0;
        alGetSourcei(clip.source, AL_BUFFER, &bound);
        alGetSourcei(clip.source, AL_LOOPING, &loops);
        alGetBufferi(clip.buffer, AL_FREQUENCY, &frequency);
        alGetBufferi(clip.buffer, AL_SIZE, &size);
        EXPECT_EQ(static_cast<ALuint>(bound), clip.buffer);
        EXPECT_EQ(loops, looping ? AL_TRUE : AL_FALSE);
        EXPECT_EQ(frequency, wavRate);
        EXPECT_EQ(size, static_cast<ALint>(steadyLevel(50, 0).size() * 2));
        float orientation[6] = {};
        alGetListenerfv(AL_ORIENTATION, orientation);
        EXPECT_EQ(std::vector<float>(orientation, orientation + 6),
                  (std::vector<float>{0, 0, -1, 0, 1, 0}));
        EXPECT_EQ(alGetError(), AL_NO_ERROR);
    }
    EXPECT_TRUE(fake->boxes.empty());
}

float gainOf(const SoundClip& clip) {
    float gain = -1;
    alGetSourcef(clip.source, AL_GAIN, &gain);
    return gain;
}

TEST_F(SoundTest, TheFourBackgroundTracksAreMusicAndEverythingElseAnEffect) {
    const struct {
        const char* name;
        bool music;
    } cases[] = {{"menu2.wav", true},        {"ingame2.wav", true}, {"ingame5.wav", true},
                 {"chainsaw.wav", true},     {"loves.wav", false},  {"pig.wav", false},
                 {"sounds/menu2.wav", true}, {"xmenu2.wav", false}, {"menu2.wav.bak", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(isMusicFile(c.name), c.music) << c.name;
    }
}

TEST_F(SoundTest, EachClipTakesTheVolumeOfItsKind) {
    std::filesystem::copy_file(dir.file("pig.wav"), dir.file("menu2.wav"));
    gameSettings.musicVolume = 25;
    gameSettings.effectsVolume = 75;
    const SoundClip music = loadSound(dir.file("menu2.wav"), true);
    const SoundClip effect = loadSound(dir.file("pig.wav"), false);
    EXPECT_FLOAT_EQ(gainOf(music), 0.25f);
    EXPECT_FLOAT_EQ(gainOf(effect), 0.75f);

    const struct {
        int music, effects;
        float musicGain, effectGain;
    } settings[] = {
        {0, 100, 0.0f, 1.0f}, {50, 25, 0.5f, 0.25f}, {100, 0, 1.0f, 0.0f}, {75, 50, 0.75f, 0.5f}};
    for (const auto& s : settings) {
        applySoundVolumes(s.music, s.effects);
        EXPECT_FLOAT_EQ(gainOf(music), s.musicGain) << s.music;
        EXPECT_FLOAT_EQ(gainOf(effect), s.effectGain) << s.effects;
    }
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundTest, TheAssetCheckJudgesAFileAsTheGameWould) {
    writeBytes(dir.file("text.wav"), {'R', 'I', 'F', 'F', 'n', 'o', 'p', 'e'});
    writeBytes(dir.file("empty.wav"), {});
    const struct {
        const char* name;
        bool good;
    } cases[] = {
        {"pig.wav", true}, {"missing.wav", false}, {"text.wav", false}, {"empty.wav", false}};
    // The check releases what it loads, so it leaves no clip behind to count.
    const std::uint32_t before = clipsLoaded();
    for (const auto& c : cases) {
        std::string reason = "stale";
        EXPECT_EQ(validateSoundFile(dir.file(c.name), reason), c.good) << c.name;
        EXPECT_EQ(reason.empty(), c.good) << c.name << ": " << reason;
    }
    EXPECT_EQ(clipsLoaded(), before);
    EXPECT_TRUE(fake->boxes.empty());
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

// --- What comes out of the speakers, through OpenAL Soft's wave writer in a child process. ---

// The child's commands, separated by ';': "settings M E" (volumes for later loads),
// "load SLOT FILE LOOP", "copy TO FROM", "play SLOT", "stop SLOT", "volumes M E" (applied at once),
// "sleep MS".
void runSoundScript(const std::string& script) {
    std::array<SoundClip, 4> slots{};
    std::istringstream commands(script);
    std::string command;
    while (std::getline(commands, command, ';')) {
        std::istringstream words(command);
        std::string verb;
        words >> verb;
        if (verb == "settings") {
            words >> gameSettings.musicVolume >> gameSettings.effectsVolume;
        } else if (verb == "load") {
            std::size_t slot = 0;
            std::string file;
            int looping = 0;
            words >> slot >> file >> looping;
            slots.at(slot) = loadSound(file, looping != 0);
        } else if (verb == "copy") {
            std::size_t to = 0;
            std::size_t from = 0;
            words >> to >> from;
            slots.at(to) = slots.at(from);
        } else if (verb == "play" || verb == "stop") {
            std::size_t slot = 0;
            words >> slot;
            (verb == "play" ? playSound : stopSound)(slots.at(slot));
        } else if (verb == "volumes") {
            int music = 0;
            int effects = 0;
            words >> music >> effects;
            applySoundVolumes(music, effects);
        } else if (verb == "sleep") {
            int milliseconds = 0;
            words >> milliseconds;
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        } else if (!verb.empty()) {
            FAIL() << "unknown command " << verb;
        }
    }
}

TEST(SoundChild, DISABLED_RunScript) {
    const char* script = std::getenv("HEMORUNE_SOUND_SCRIPT");
    ASSERT_NE(script, nullptr);
    FakePlatform& fake = installFakePlatform();
    gameSettings.musicVolume = 100;
    gameSettings.effectsVolume = 100;
    initSound();
    try {
        runSoundScript(script);
    } catch (const ProcessExit& exit) {
        std::printf("box: %s\n", fake.boxes.empty() ? "none" : fake.boxes[0].text.c_str());
        std::fflush(stdout);
        _exit(exit.status);
    }
    EXPECT_NE(alcGetCurrentContext(), nullptr);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    shutDownSound();
}

class WaveOutput : public testing::Test {
  protected:
    void SetUp() override {
        writeWav(dir.file("pig.wav"), steadyLevel(600, 6000), wavRate);
        writeWav(dir.file("menu2.wav"), steadyLevel(600, 6000), wavRate);
        writeWav(dir.file("blip.wav"), steadyLevel(100, 6000), wavRate);
        writeWav(dir.file("chainsaw.wav"), steadyLevel(100, 6000), wavRate);
        std::FILE* config = std::fopen(dir.file("alsoft.conf").c_str(), "w");
        ASSERT_NE(config, nullptr);
        std::fprintf(config,
                     "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\n"
                     "frequency = 22050\ndither = false\noutput-limiter = false\n"
                     "[wave]\nfile = %s\n",
                     dir.file("out.wav").c_str());
        std::fclose(config);
    }

    // The samples the wave writer wrote while the script ran.
    std::vector<std::int16_t> output(const std::string& script) {
        std::filesystem::remove(dir.file("out.wav"));
        const ChildRun run =
            runChildTest("SoundChild.DISABLED_RunScript", dir.path.string(),
                         {"ALSOFT_CONF=" + dir.file("alsoft.conf"), "ALSOFT_DRIVERS=wave",
                          "HEMORUNE_SOUND_SCRIPT=" + script});
        EXPECT_EQ(run.status, 0) << run.output;
        std::vector<std::int16_t> samples = readWavSamples(dir.file("out.wav"));
        EXPECT_GT(samples.size(), static_cast<std::size_t>(wavRate / 10)) << script;
        return samples;
    }

    double peakRatio(const std::string& script, const std::string& reference) {
        const int base = peakLevel(output(reference));
        EXPECT_GT(base, 1000) << reference;
        return static_cast<double>(peakLevel(output(script))) / std::max(base, 1);
    }

    ScratchDir dir;
};

const char* const onePig = "load 0 pig.wav 0; play 0; sleep 300";

TEST_F(WaveOutput, NothingPlayedIsSilenceAndAPlayedClipIsHeard) {
    EXPECT_LT(peakLevel(output("load 0 pig.wav 0; load 1 menu2.wav 1; sleep 300")), 64);
    EXPECT_GT(peakLevel(output(onePig)), 1000);
}

TEST_F(WaveOutput, EachKindPlaysAtItsOwnVolume) {
    const struct {
        const char* script;
        double ratio;
    } cases[] = {
        {"settings 100 25; load 0 pig.wav 0; play 0; sleep 300", 0.25},
        {"settings 25 100; load 0 menu2.wav 1; play 0; sleep 300", 0.25},
        {"settings 100 25; load 0 menu2.wav 1; play 0; sleep 300", 1.0},
        {"settings 100 0; load 0 pig.wav 0; play 0; sleep 300", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(peakRatio(c.script, onePig), c.ratio, 0.05) << c.script;
    }
}

TEST_F(WaveOutput, AppliedVolumesReachASoundAlreadyPlaying) {
    const std::vector<std::int16_t> samples =
        output("load 0 menu2.wav 1; play 0; sleep 300; volumes 25 100; sleep 400");
    const int before = peakLevel(samples, 0.0, 0.35);
    const int after = peakLevel(samples, 0.75, 1.0);
    ASSERT_GT(before, 1000);
    EXPECT_NEAR(static_cast<double>(after) / before, 0.25, 0.05);
}

TEST_F(WaveOutput, ARestartedLoopKeepsLoopingAndARestartedShotEnds) {
    const struct {
        const char* script;
        bool heardAtTheEnd;
    } cases[] = {
        {"load 0 chainsaw.wav 1; play 0; sleep 50; play 0; sleep 500", true},
        {"load 0 blip.wav 0; play 0; sleep 50; play 0; sleep 500", false},
    };
    for (const auto& c : cases) {
        const std::vector<std::int16_t> samples = output(c.script);
        EXPECT_GT(peakLevel(samples, 0.0, 0.3), 1000) << c.script;
        EXPECT_EQ(peakLevel(samples, 0.7, 1.0) > 1000, c.heardAtTheEnd) << c.script;
    }
}

TEST_F(WaveOutput, CopiesOfAClipShareOneSource) {
    const struct {
        const char* script;
        double ratio;
    } cases[] = {
        {"load 0 pig.wav 0; copy 1 0; play 0; play 1; sleep 300", 1.0},
        // Two loads of one file are two sources, which sound together.
        {"load 0 pig.wav 0; load 1 pig.wav 0; play 0; play 1; sleep 300", 2.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(peakRatio(c.script, onePig), c.ratio, 0.15) << c.script;
    }
}

TEST(SoundWithoutDevice, EveryClipIsStillLoadedAndCheckedSilently) {
    ScratchDir dir;
    writeWav(dir.file("pig.wav"), steadyLevel(50, 6000), wavRate);
    const struct {
        const char* script;
        int status;
    } cases[] = {
        {"load 0 pig.wav 0; play 0; sleep 20; stop 0; volumes 50 50", 0},
        {"load 0 pig.wav 0; load 1 missing.wav 0", 1},
    };
    for (const auto& c : cases) {
        // No driver at all: OpenAL Soft cannot open any device.
        const ChildRun run =
            runChildTest("SoundChild.DISABLED_RunScript", dir.path.string(),
                         {"ALSOFT_DRIVERS=none", "HEMORUNE_SOUND_SCRIPT=" + std::string(c.script)});
        EXPECT_EQ(run.status, c.status) << c.script << "\n" << run.output;
        EXPECT_EQ(run.output.find("box: missing.wav") != std::string::npos, c.status == 1)
            << run.output;
    }
}

} // namespace
