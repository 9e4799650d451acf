// Small picture and sound files written by the tests themselves, so that a load can be checked
// file by file without the generated run directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh directory under the system's temporary directory, named prefix-XXXXXX.
std::filesystem::path makeTemporaryDirectory(const std::string& prefix);

void writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// A PNG with one IDAT of stored (uncompressed) deflate blocks; rows are given unfiltered.
struct PngPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = 6;
    int bitDepth = 8;
    std::vector<unsigned char> rows;    // height rows of width samples, no filter bytes
    std::vector<unsigned char> palette; // 3 bytes an entry, for colour type 3
};
std::vector<unsigned char> encodePng(const PngPicture& picture);

// A true-colour RGBA picture (colour type 6, 8 bits).
void writePng(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height,
              const std::vector<std::uint8_t>& rgba);

// 16-bit mono PCM holding the given samples.
void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
              std::uint32_t rate);
void writeSilentWav(const std::filesystem::path& path, std::uint32_t sampleCount,
                    std::uint32_t rate = 8000);
