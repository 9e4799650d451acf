// Temporary directories and small files for the high-score tests.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A fresh directory under the system's temporary directory, removed with everything in it.
struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path path;
    std::string file(const std::string& name) const { return (path / name).string(); }
};

void writeFile(const std::string& path, const std::string& contents);
// Nothing when the file cannot be read.
std::optional<std::string> readFile(const std::string& path);
// The names of every entry of a directory, sorted.
std::vector<std::string> listDirectory(const std::filesystem::path& directory);

// Runs work in a child process without the privileges of root (root ignores file permissions),
// and returns the child's exit status; work's return value becomes that status.
int runUnprivileged(const std::function<int()>& work);
