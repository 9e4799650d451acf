// libFuzzer target: any bytes as a zlib stream into both the table-driven decoder and the
// bit-at-a-time reference kept in the tests. They must agree on the error code and leave the same
// bytes in `out`, its size included, after an error too. The first byte picks the first size guess
// both start from, so empty, small and roomy guesses are all tried.
#include "media/inflate.h"
#include "reference_inflate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> in(data, data + size);
    const std::size_t guess = size > 0 ? data[0] * (data[0] % 4 == 0 ? 16 : 1) : 0;
    std::vector<unsigned char> fast(guess, 0xA5);
    std::vector<unsigned char> reference(guess, 0xA5);
    const unsigned fastError = inflateZlibStream(fast, in);
    const unsigned referenceError = inflateReference(reference, in);
    if (fastError != referenceError || fast != reference) {
        std::abort();
    }
    return 0;
}
