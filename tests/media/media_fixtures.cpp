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

ScratchDir::ScratchDir() : path(makeTemporaryDirectory("hemorune-media")) {}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::int16_t> steadyLevel(int milliseconds, std::int16_t level) {
    return std::vector<std::int16_t>(static_cast<std::size_t>(wavRate * milliseconds / 1000),
                                     level);
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
