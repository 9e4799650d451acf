// hemorune-assets decode FILE.png OUT.rgba: decodes one picture with the game's own decoder and
// writes its raw RGBA8 rows, top row first; prints "WIDTH HEIGHT ERROR".
#include "command.h"

#include "media/png.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int runDecode(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hemorune-assets decode FILE.png OUT.rgba\n");
        return 2;
    }
    std::ifstream stream(argv[1], std::ios::binary);
    if (!stream) {
        std::fprintf(stderr, "decode: cannot open %s\n", argv[1]);
        return 1;
    }
    const std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(stream), {});
    std::vector<unsigned char> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const unsigned code = pngToRgba(pixels, width, height, bytes.data(), bytes.size());
    std::printf("%u %u %u\n", width, height, code);
    if (code != 0) {
        std::fprintf(stderr, "decode: %s: %s\n", argv[1], decodeErrorText(code));
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(pixels.data()),
              static_cast<std::streamsize>(pixels.size()));
    if (!out) {
        std::fprintf(stderr, "decode: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

const CommandRegistration registration("decode", "decode FILE.png OUT.rgba", runDecode);

} // namespace
