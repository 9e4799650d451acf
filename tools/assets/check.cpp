// hemorune-assets check [DIR]: decodes every PNG under DIR (default: the current directory, with
// its sub-folders) with the game's own decoder, and loads every WAV through the game's own sound
// path, so a file the game cannot load is found before the game shows its message box for it.
#include "command.h"

#include "media/png.h"
#include "media/sound.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string lowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Reports each WAV the game's loader would refuse; returns how many failed.
unsigned checkSounds(const std::vector<std::filesystem::path>& sounds) {
    if (sounds.empty()) {
        return 0;
    }
    initSound(); // OpenAL Soft's null output will do where there is no device
    unsigned failed = 0;
    for (const std::filesystem::path& path : sounds) {
        std::string reason;
        if (!validateSoundFile(path.string(), reason)) {
            std::printf("%s: %s\n", path.string().c_str(), reason.c_str());
            ++failed;
        }
    }
    shutDownSound();
    return failed;
}

int runCheck(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: hemorune-assets check [DIR]\n");
        return 2;
    }
    const std::filesystem::path root = argc == 2 ? argv[1] : ".";
    std::error_code error;
    std::vector<std::filesystem::path> files;
    std::vector<std::filesystem::path> sounds;
    for (std::filesystem::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file()) {
            continue;
        }
        const std::string extension = lowerExtension(it->path());
        if (extension == ".png") {
            files.push_back(it->path());
        } else if (extension == ".wav") {
            sounds.push_back(it->path());
        }
    }
    if (error) {
        std::fprintf(stderr, "check: cannot read %s: %s\n", root.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());
    std::sort(sounds.begin(), sounds.end());

    unsigned failed = 0;
    for (const std::filesystem::path& path : files) {
        std::ifstream stream(path, std::ios::binary);
        const std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(stream), {});
        std::vector<unsigned char> pixels;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        const unsigned code = pngToRgba(pixels, width, height, bytes.data(), bytes.size());
        if (code != 0) {
            std::printf("%s: error %u: %s\n", path.string().c_str(), code, decodeErrorText(code));
            ++failed;
        }
    }
    std::printf("%zu PNG files checked, %u failed\n", files.size(), failed);
    const unsigned soundsFailed = checkSounds(sounds);
    std::printf("%zu WAV files checked, %u failed\n", sounds.size(), soundsFailed);
    return failed == 0 && soundsFailed == 0 ? 0 : 1;
}

const CommandRegistration registration("check", "check [DIR]", runCheck);

} // namespace
