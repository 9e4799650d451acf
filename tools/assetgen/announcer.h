// The six announcer clips: espeak-ng says the words, and the voice is then made deep, driven
// and echoing like an arcade announcer's.
#pragma once

#include "synth.h"

#include <cstdint>
#include <string>
#include <vector>

// Each clip under its file name; on failure an empty list and `error` says why.
std::vector<NamedSound> makeAnnouncerClips(std::string& error);

// The samples of a 16-bit PCM WAV file (mono, or the first channel), and its rate; false if
// the bytes are not such a file.
bool decodeWav(const std::vector<std::uint8_t>& bytes, Samples& samples, int& rate);

// The arcade treatment of a voice recorded at `rate`: lower, slower, saturated, with echoes.
Samples makeAnnouncerVoice(const Samples& voice, int rate);
