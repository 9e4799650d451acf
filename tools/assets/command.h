// The commands of hemorune-assets. Each command file registers one entry with a static
// CommandRegistration; main() looks the first argument up in that table.
#pragma once

#include <string_view>

using CommandFunction = int (*)(int argc, char** argv); // argv[0] is the command's name

struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view usage, CommandFunction run);
};
