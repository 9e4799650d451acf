// WAV files to OpenAL clips: one buffer and one source; copies of a clip share the source.
#pragma once

#include <cstdint>
#include <string>

struct SoundClip {
    std::uint32_t buffer = 0;
    std::uint32_t source = 0;
    float sourcePosition[3] = {0, 0, 0};
    float sourceVelocity[3] = {0, 0, 0};
    float listenerPosition[3] = {0, 0, 0};
    float listenerVelocity[3] = {0, 0, 0};
    float listenerOrientation[6] = {0, 0, -1, 0, 1, 0};
};

// Called once by start-up, after the window exists: opens the audio device, or a silent output
// when there is none, so the game still loads every clip and plays, silently.
void initSound();
// Called by the orderly shut-down.
void shutDownSound();

// Loads the file into a new clip, at the gain of the current volume setting for its kind. A file
// that cannot be loaded shows its name under "Cannot load this file" and ends the program with
// status 1.
SoundClip loadSound(const std::string& fileName, bool looping);

// Starts the clip from its beginning (a playing clip restarts). An empty clip does nothing.
void playSound(const SoundClip& clip);
// Stops the clip. An empty clip does nothing and leaves no OpenAL error behind.
void stopSound(const SoundClip& clip);

// True for the music files (the game's looping background tracks); every other file is an effect.
bool isMusicFile(const std::string& fileName);
// Called when the settings are applied: every loaded clip, playing or not, takes the gain of its
// kind at once. Volumes run from 0 to 100.
void applySoundVolumes(int musicVolume, int effectsVolume);

// How many clips (each one OpenAL buffer and one source) loadSound has made since the program
// started. Clips are made once and kept, so a count that grows during play means a sound is being
// loaded again.
std::uint32_t clipsLoaded();

// Called by the asset check: loads the file the way loadSound does, without the message box and
// the exit, and releases the clip again. False, with the reason, when loadSound would fail.
bool validateSoundFile(const std::string& path, std::string& reason);
