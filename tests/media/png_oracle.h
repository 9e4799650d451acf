// libpng as a black-box oracle for the decoder tests and benchmarks: decoding to the same RGBA8
// layout as pngToRgba, and writing test pictures. Also where the PngSuite pictures are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OraclePicture {
    std::vector<unsigned char> rgba;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Decodes with palette and low-bit grey expanded, tRNS to alpha, grey to RGB, 16-bit samples cut
// to their high byte, an opaque alpha added where there is none, and no gamma. With ignoreCrc,
// chunk CRC errors are ignored. Returns false when libpng refuses the file.
bool decodeWithLibpng(const std::vector<unsigned char>& file, OraclePicture& picture,
                      bool ignoreCrc = false);

// What libpng's writer needs to know about a picture. `rows` holds the samples as a PNG row
// stores them (packed below 8 bits, big-endian at 16), rows one after another, no filter bytes.
struct OracleImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 8;
    int colorType = 6;
    bool interlaced = false;
    std::vector<unsigned char> rows;
    std::vector<unsigned char> palette; // red, green, blue per entry
    std::vector<unsigned char> paletteAlpha;
};

std::vector<unsigned char> encodeWithLibpng(const OracleImage& image);

// Every PNG file of the PngSuite, sorted by name: from $HEMORUNE_PNGSUITE, else the shared folder
// beside the source tree, else /work/shared/pngsuite.
std::string pngSuiteDirectory();
std::vector<std::string> pngSuiteFiles();

std::vector<unsigned char> readFileBytes(const std::string& path);
