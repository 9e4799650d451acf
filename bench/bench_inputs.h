// The inputs of the decoder benchmark: groups of PNG files (or bare zlib streams), each prepared
// once with the zlib stream of every file and the sizes both decoders must produce.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// One zlib stream and the size of its decompressed data.
struct ZlibStream {
    Bytes compressed;
    std::size_t inflatedSize = 0;
};

// One benchmark input: decoded as a whole, file after file, in every timed iteration.
struct BenchInput {
    std::string name;
    std::vector<Bytes> pngFiles;     // empty for an input of bare zlib streams
    std::vector<ZlibStream> streams; // the joined IDAT data of each file, or the bare streams
    std::size_t rgbaBytes = 0;       // RGBA output of all files
    std::size_t inflatedBytes = 0;   // decompressed output of all streams
    // Why the input cannot be timed fairly (our output differs from the reference's), or empty.
    std::string problem;
};

// The good files of the PngSuite (those libpng decodes), as one input or one input per file.
BenchInput pngSuiteInput();
std::vector<BenchInput> pngSuiteFileInputs();

// Every picture below the game's run directory, sorted by path.
BenchInput runDirectoryInput(const std::string& directory);

// 1024 x 1024 RGBA pictures written by libpng with its default settings (adaptive filters, zlib
// level 6), as a typical PNG writer leaves them: smooth gradients with grain, and a sprite sheet
// of flat-coloured shapes on a transparent background.
BenchInput photoInput();
BenchInput spriteSheetInput();

// Bare 1 MiB zlib streams at level 6: text-like data, and noisy bytes that leave mostly literals.
BenchInput textStreamInput();
BenchInput noisyStreamInput();
