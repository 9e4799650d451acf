// hemorune-assets: dispatches to the command named by the first argument.
#include "command.h"

#include "platform/settings.h"

#include <array>
#include <cstdio>
#include <string>

// The game's library reads the settings the entry point of a program defines; this tool's are
// the main build's defaults.
GameSettings gameSettings{50, 50, true, 600, 800};
bool f2EndsGame = false;

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    CommandFunction run = nullptr;
};

std::array<Command, 16>& commandTable() {
    static std::array<Command, 16> table{};
    return table;
}

int printUsage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& command : commandTable()) {
        if (command.run != nullptr) {
            std::fprintf(stderr, "  hemorune-assets %.*s\n", static_cast<int>(command.usage.size()),
                         command.usage.data());
        }
    }
    return 2;
}

} // namespace

CommandRegistration::CommandRegistration(std::string_view name, std::string_view usage,
                                         CommandFunction run) {
    for (Command& command : commandTable()) {
        if (command.run == nullptr) {
            command = Command{name, usage, run};
            return;
        }
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        return printUsage();
    }
    const std::string wanted = argv[1];
    for (const Command& command : commandTable()) {
        if (command.run != nullptr && command.name == wanted) {
            return command.run(argc - 1, argv + 1);
        }
    }
    std::fprintf(stderr, "hemorune-assets: unknown command '%s'\n", wanted.c_str());
    return printUsage();
}
