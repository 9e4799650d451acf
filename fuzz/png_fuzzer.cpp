// libFuzzer target: any bytes as a PNG file. A success must give exactly width x height x 4 bytes.
#include "media/png.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly `size` bytes on the heap, so any read past the end is caught.
    const std::vector<unsigned char> file(data, data + size);
    std::vector<unsigned char> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const unsigned error = pngToRgba(pixels, width, height, file.data(), file.size());
    if (error == 0 && pixels.size() != std::size_t{width} * height * 4) {
        std::abort();
    }
    return 0;
}
