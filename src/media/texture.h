// PNG files to GL textures.
#pragma once

#include <cstdint>
#include <string>

using TextureId = std::uint32_t; // a GL texture name; 0 names no texture of the game

// Reads and decodes the picture and uploads it as a new texture, left bound. A file that cannot
// be opened shows "nyalod" and ends the program with status 1; one that does not decode shows the
// same box and still gives a texture (with no pixels). Before any GL context it returns 0.
TextureId loadTexture(const std::string& fileName);

// How many textures loadTexture has made since the program started (not counting the calls made
// before any GL context, which make none). Every texture is made once and kept, so a count that
// grows during play means a picture is being loaded again.
std::uint32_t texturesCreated();
