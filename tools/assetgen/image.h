// A finished picture: 8-bit RGBA, rows top to bottom, as the game's textures take it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4
};

// A picture with the file name the game opens it by (relative to the run directory).
struct NamedImage {
    std::string fileName;
    Image image;
};
