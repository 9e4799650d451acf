// Writes zlib streams for the inflate fuzzer's corpus: random and repetitive data of several sizes
// at every level and strategy, so that stored, fixed and dynamic blocks are all represented.
#include <zlib.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUT_DIR\n");
        return 2;
    }
    std::mt19937 random(1);
    int written = 0;
    for (const std::size_t size : {0, 1, 40, 300, 3000}) {
        for (int kind = 0; kind < 2; ++kind) {
            std::vector<unsigned char> data(size);
            for (std::size_t i = 0; i < size; ++i) {
                data[i] = kind == 0 ? static_cast<unsigned char>(random())
                                    : static_cast<unsigned char>("hemorune"[(i / 3) % 8]);
            }
            for (const int level : {0, 1, 6, 9}) {
                for (const int strategy : {Z_DEFAULT_STRATEGY, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
                    z_stream stream{};
                    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy) != Z_OK) {
                        return 1;
                    }
                    std::vector<unsigned char> out(deflateBound(&stream, size));
                    stream.next_in = data.data();
                    stream.avail_in = static_cast<uInt>(size);
                    stream.next_out = out.data();
                    stream.avail_out = static_cast<uInt>(out.size());
                    deflate(&stream, Z_FINISH);
                    out.resize(stream.total_out);
                    deflateEnd(&stream);
                    const std::string name =
                        std::string(argv[1]) + "/zlib-" + std::to_string(written++) + ".bin";
                    FILE* file = std::fopen(name.c_str(), "wb");
                    if (file == nullptr) {
                        return 1;
                    }
                    std::fwrite(out.data(), 1, out.size(), file);
                    std::fclose(file);
                }
            }
        }
    }
    return 0;
}
