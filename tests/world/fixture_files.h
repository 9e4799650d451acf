// Small picture and sound files written by the tests themselves, so that the load can be checked
// file by file without the generated run directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// A true-colour RGBA PNG (colour type 6, 8 bits) whose image data sit in stored deflate blocks.
void writePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height,
              const std::vector<std::uint8_t>& rgba);

// A 16-bit mono PCM WAV of sampleCount silent samples at 8000 Hz.
void writeWav(const std::filesystem::path& path, std::uint32_t sampleCount);
