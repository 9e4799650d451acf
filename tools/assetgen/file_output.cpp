#include "file_output.h"

#include <filesystem>
#include <fstream>

namespace {

bool writeRaw(const std::string& path, const char* data, std::size_t size) {
    std::error_code error;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, error);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return writeRaw(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool writeFileText(const std::string& path, const std::string& text) {
    return writeRaw(path, text.data(), text.size());
}
