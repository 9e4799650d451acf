#include "media/media_fixtures.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "hemorune-media-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

namespace {

void putLittle(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

void putBig(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

std::uint32_t crcOf(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig(out, crcOf(out.data() + typeStart, out.size() - typeStart));
}

// A zlib stream of stored blocks: valid deflate without any compression.
std::vector<unsigned char> storedZlib(const std::vector<unsigned char>& raw) {
    std::vector<unsigned char> out{0x78, 0x01};
    std::size_t position = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - position, 65535);
        const bool last = position + length == raw.size();
        out.push_back(last ? 1 : 0);
        putLittle(out, static_cast<std::uint32_t>(length), 2);
        putLittle(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(position),
                   raw.begin() + static_cast<std::ptrdiff_t>(position + length));
        position += length;
    } while (position < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBig(out, (b << 16) | a);
    return out;
}

int channelsOf(int colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

} // namespace

void writeWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out{'R', 'I', 'F', 'F'};
    putLittle(out, 36 + dataSize, 4);
    for (char c : std::string("WAVEfmt ")) {
        out.push_back(static_cast<unsigned char>(c));
    }
    putLittle(out, 16, 4);
    putLittle(out, 1, 2); // PCM
    putLittle(out, 1, 2); // mono
    putLittle(out, wavRate, 4);
    putLittle(out, wavRate * 2, 4);
    putLittle(out, 2, 2);
    putLittle(out, 16, 2);
    for (char c : std::string("data")) {
        out.push_back(static_cast<unsigned char>(c));
    }
    putLittle(out, dataSize, 4);
    for (std::int16_t sample : samples) {
        putLittle(out, static_cast<std::uint16_t>(sample), 2);
    }
    writeBytes(path, out);
}

std::vector<std::int16_t> steadyLevel(int milliseconds, std::int16_t level) {
    return std::vector<std::int16_t>(static_cast<std::size_t>(wavRate * milliseconds / 1000),
                                     level);
}

std::vector<unsigned char> encodePng(const PngPicture& picture) {
    std::vector<unsigned char> out{137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<unsigned char> header;
    putBig(header, picture.width);
    putBig(header, picture.height);
    header.insert(header.end(), {static_cast<unsigned char>(picture.bitDepth),
                                 static_cast<unsigned char>(picture.colourType), 0, 0, 0});
    putChunk(out, "IHDR", header);
    if (!picture.palette.empty()) {
        putChunk(out, "PLTE", picture.palette);
    }
    const std::size_t rowBytes =
        (picture.width *
             static_cast<std::size_t>(channelsOf(picture.colourType) * picture.bitDepth) +
         7) /
        8;
    std::vector<unsigned char> scanlines;
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        scanlines.push_back(0);
        const auto row = picture.rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
        scanlines.insert(scanlines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    putChunk(out, "IDAT", storedZlib(scanlines));
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::int16_t> readWavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    auto little = [&](std::size_t at, int count) {
        std::uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
        }
        return value;
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return {};
    }
    int channels = 0;
    int bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::size_t size = little(at + 4, 4);
        const std::size_t body = at + 8;
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && body + 16 <= bytes.size()) {
            channels = static_cast<int>(little(body + 2, 2));
            bits = static_cast<int>(little(body + 14, 2));
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            if (channels < 1 || bits != 16) {
                return {};
            }
            // A writer stopped before it fixed up its header leaves the size 0: take the rest.
            const std::size_t available = bytes.size() - body;
            const std::size_t length = size == 0 || size > available ? available : size;
            const std::size_t frameBytes = static_cast<std::size_t>(channels) * 2;
            std::vector<std::int16_t> samples;
            for (std::size_t frame = body; frame + frameBytes <= body + length;
                 frame += frameBytes) {
                samples.push_back(static_cast<std::int16_t>(little(frame, 2)));
            }
            return samples;
        }
        at = body + size + (size & 1);
    }
    return {};
}

int peakLevel(const std::vector<std::int16_t>& samples, double begin, double end) {
    const auto first = static_cast<std::size_t>(begin * static_cast<double>(samples.size()));
    const auto last = static_cast<std::size_t>(end * static_cast<double>(samples.size()));
    int peak = 0;
    for (std::size_t i = first; i < last && i < samples.size(); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    return peak;
}

ChildRun runChildTest(const std::string& testName, const std::string& workDir,
                      const std::vector<std::string>& environment) {
    std::string self(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        return {};
    }
    self.resize(static_cast<std::size_t>(length));
    std::vector<std::string> arguments{self, "--gtest_filter=" + testName,
                                       "--gtest_also_run_disabled_tests"};
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string existing(*entry);
        const std::string name = existing.substr(0, existing.find('='));
        bool overridden = false;
        for (const std::string& extra : environment) {
            overridden = overridden || extra.substr(0, extra.find('=')) == name;
        }
        if (!overridden) {
            variables.push_back(existing);
        }
    }
    variables.insert(variables.end(), environment.begin(), environment.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    const std::string logPath = workDir + "/child.log";

    const pid_t child = fork();
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(workDir.c_str()) != 0 || log < 0) {
            _exit(127);
        }
        dup2(log, 1);
        dup2(log, 2);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    ChildRun run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::ifstream log(logPath);
    run.output.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
    return run;
}
