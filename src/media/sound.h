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

// Called once by start-up, after the window exists: opens the audio device, or OpenAL Soft's null
// output when there is none, so the game still plays, silently.
void initSound();
// Called by the orderly shut-down.
void shutDownSound();

// Loads the file into a new clip. A file that cannot be loaded shows its name under
// "Cannot load this file" and ends the program with status 1.
SoundClip loadSound(const std::string& fileName, bool looping);

// Starts the clip from its beginning (a playing clip restarts). An empty clip does nothing.
void playSound(const SoundClip& clip);
// Stops the clip. An empty clip does nothing and leaves no OpenAL error behind.
void stopSound(const SoundClip& clip);
