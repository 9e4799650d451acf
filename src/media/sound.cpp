#include "media/sound.h"

#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/startup_timings.h"
#include "platform/steady_clock.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/alut.h>

#include <array>
#include <cstddef>
#include <string_view>

namespace {

constexpr std::string_view musicFiles[] = {"menu2.wav", "ingame2.wav", "ingame5.wav",
                                           "chainsaw.wav"};

// Every source the game has loaded, so that a volume change reaches the sounds already playing.
// The game loads a few dozen clips at start-up and reuses them; the table never grows.
struct LoadedSource {
    ALuint source = 0;
    bool music = false;
};
constexpr std::size_t maxLoadedSources = 128;
std::array<LoadedSource, maxLoadedSources> loadedSources;
std::size_t loadedSourceCount = 0;
std::uint32_t loadedClipCount = 0; // never reset: it counts for the whole process

// The silent output used when no audio device can be opened: an OpenAL Soft loopback device that
// nothing ever renders, so buffers and sources behave exactly as with a device.
ALCdevice* silentDevice = nullptr;
ALCcontext* silentContext = nullptr;

struct LoadResult {
    SoundClip clip;
    bool fileRead = false;
    ALenum error = AL_NO_ERROR;
};

float gainOf(int volume) {
    const int clamped = volume < 0 ? 0 : (volume > 100 ? 100 : volume);
    return static_cast<float>(clamped) / 100.0f;
}

float currentGainFor(bool music) {
    return gainOf(music ? gameSettings.musicVolume : gameSettings.effectsVolume);
}

// alutLoadWAVFile is the loader the game is built around; freealut marks it deprecated in favour
// of its own buffer-making calls, which would hide the format and size that alBufferData needs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool loadWavInto(ALuint buffer, const std::string& fileName) {
    ALenum format = 0;
    ALvoid* data = nullptr;
    ALsizei size = 0;
    ALsizei frequency = 0;
    ALboolean loop = AL_FALSE;
    alutLoadWAVFile(reinterpret_cast<ALbyte*>(const_cast<char*>(fileName.c_str())), &format, &data,
                    &size, &frequency, &loop);
    // A file that failed leaves data null; the calls below then upload nothing and leave an
    // OpenAL error, as the load's one error check expects.
    alBufferData(buffer, format, data, size, frequency);
    alutUnloadWAV(format, data, size, frequency);
    return data != nullptr;
}
#pragma GCC diagnostic pop

// The load steps in their fixed order, with the one error check after all of them.
LoadResult runLoadSteps(const std::string& fileName, bool looping, float gain) {
    LoadResult result;
    SoundClip& clip = result.clip;
    alGenBuffers(1, &clip.buffer);
    result.fileRead = loadWavInto(clip.buffer, fileName);
    alGenSources(1, &clip.source);
    alSourcei(clip.source, AL_BUFFER, static_cast<ALint>(clip.buffer));
    alSourcef(clip.source, AL_PITCH, 1.0f);
    alSourcef(clip.source, AL_GAIN, gain);
    alSourcefv(clip.source, AL_POSITION, clip.sourcePosition);
    alSourcefv(clip.source, AL_VELOCITY, clip.sourceVelocity);
    alSourcei(clip.source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    alListenerfv(AL_POSITION, clip.listenerPosition);
    alListenerfv(AL_VELOCITY, clip.listenerVelocity);
    alListenerfv(AL_ORIENTATION, clip.listenerOrientation);
    result.error = alGetError();
    return result;
}

void rememberSource(ALuint source, bool music) {
    if (loadedSourceCount < loadedSources.size()) {
        loadedSources[loadedSourceCount] = LoadedSource{source, music};
        loadedSourceCount += 1;
    }
}

void openSilentOutput() {
    alutInitWithoutContext(nullptr, nullptr);
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (openLoopback == nullptr) {
        return;
    }
    silentDevice = openLoopback(nullptr);
    if (silentDevice == nullptr) {
        return;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 44100,
                                 0};
    silentContext = alcCreateContext(silentDevice, attributes);
    if (silentContext != nullptr) {
        alcMakeContextCurrent(silentContext);
    }
}

} // namespace

void initSound() {
    if (alutInit(nullptr, nullptr) == AL_TRUE) {
        return;
    }
    // No device could be opened. OpenAL Soft picks its backend once per process, so asking again
    // with another driver would not help; a loopback device needs no backend at all.
    openSilentOutput();
}

void shutDownSound() {
    alutExit();
    if (silentContext != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(silentContext);
        silentContext = nullptr;
    }
    if (silentDevice != nullptr) {
        alcCloseDevice(silentDevice);
        silentDevice = nullptr;
    }
    loadedSourceCount = 0;
}

bool isMusicFile(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view baseName =
        std::string_view(fileName).substr(slash == std::string::npos ? 0 : slash + 1);
    for (std::string_view music : musicFiles) {
        if (baseName == music) {
            return true;
        }
    }
    return false;
}

SoundClip loadSound(const std::string& fileName, bool looping) {
    const bool timed = startupTimingRunning();
    const std::uint64_t loadStart = timed ? steadyMicros() : 0;
    const bool music = isMusicFile(fileName);
    const LoadResult result = runLoadSteps(fileName, looping, currentGainFor(music));
    if (timed) {
        countFileLoad(fileName);
        addLoadWork(LoadWork::soundLoad, steadyMicros() - loadStart);
    }
    if (!result.fileRead || result.error != AL_NO_ERROR) {
        showMessageBox(fileName.c_str(), "Cannot load this file", BoxIcon::error);
        exitProcess(1);
    }
    rememberSource(result.clip.source, music);
    loadedClipCount += 1;
    return result.clip;
}

std::uint32_t clipsLoaded() {
    return loadedClipCount;
}

void playSound(const SoundClip& clip) {
    if (clip.source != 0) {
        alSourcePlay(clip.source);
    }
}

void stopSound(const SoundClip& clip) {
    // Source 0 is no source: stopping it would leave AL_INVALID_NAME for the next load's check.
    if (clip.source != 0) {
        alSourceStop(clip.source);
    }
}

void applySoundVolumes(int musicVolume, int effectsVolume) {
    for (std::size_t i = 0; i < loadedSourceCount; ++i) {
        const LoadedSource& loaded = loadedSources[i];
        alSourcef(loaded.source, AL_GAIN, gainOf(loaded.music ? musicVolume : effectsVolume));
    }
}

bool validateSoundFile(const std::string& path, std::string& reason) {
    // Clear an error left by an earlier call, so that only this file's load is judged.
    alGetError();
    const LoadResult result = runLoadSteps(path, false, 1.0f);
    alDeleteSources(1, &result.clip.source);
    alDeleteBuffers(1, &result.clip.buffer);
    alGetError();
    if (!result.fileRead) {
        reason = alutGetErrorString(alutGetError());
        return false;
    }
    if (result.error != AL_NO_ERROR) {
        const ALchar* text = alGetString(result.error);
        reason = std::string("OpenAL error: ") + (text != nullptr ? text : "unknown");
        return false;
    }
    reason.clear();
    return true;
}
