// libFuzzer target: any bytes as a zlib stream. The sanitizers catch a read or write outside a
// buffer; the check below catches an output that depends on the caller's size guess.
#include "media/inflate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> in(data, data + size);
    // The first byte picks the caller's size guess, so small and empty guesses are both tried.
    std::vector<unsigned char> out(size > 0 ? data[0] : 0);
    const unsigned error = inflateZlibStream(out, in);
    if (error == 0) {
        std::vector<unsigned char> again(3 * size + 1, 0xA5);
        if (inflateZlibStream(again, in) != 0 || again != out) {
            std::abort();
        }
    }
    return 0;
}
