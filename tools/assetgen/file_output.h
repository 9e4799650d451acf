// Writing generated files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes to the file (made or replaced), creating missing parent folders.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool writeFileText(const std::string& path, const std::string& text);
