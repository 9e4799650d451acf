// The bit-at-a-time inflate decoder that media/inflate.cpp replaced, kept as the reference the
// fast decoder is compared with in tests and fuzzing. Same contract as inflateZlibStream.
#pragma once

#include <vector>

// Decompresses the zlib stream `in` into `out` exactly as inflateZlibStream must: same error
// codes, same output and, after an error too, the same size and contents of `out`.
unsigned inflateReference(std::vector<unsigned char>& out, const std::vector<unsigned char>& in);
