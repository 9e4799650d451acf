// PNG encoding of an RGBA image: IHDR, IDAT chunks from our own deflate, IEND.
#pragma once

#include "image.h"

#include <cstdint>
#include <span>
#include <vector>

std::vector<std::uint8_t> encodePng(const Image& image);

std::uint32_t crc32(std::span<const std::uint8_t> data);
