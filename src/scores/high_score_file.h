// "hiscore.txt" on disk: read whole, and replaced atomically so that a failed or interrupted
// rewrite never loses the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

enum class FileRead {
    ok,      // contents hold the whole file
    missing, // the file does not exist or cannot be opened: an empty list
    failed,  // opened, but a read failed part way: contents may be incomplete
};

FileRead readWholeFile(const std::string& path, std::string& contents);

// The system calls of a rewrite, replaceable so that tests can fail or interrupt each step.
struct HighScoreFileOps {
    int (*createTemp)(char* pathTemplate); // mkstemp
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*sync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*remove)(const char* path);
};

const HighScoreFileOps& systemFileOps();

// Writes contents to a new file beside path, syncs it and renames it over path. Returns false, and
// leaves path as it was, when any step fails or when path exists but is not writable for us (a
// rename would replace even a read-only file).
bool replaceFileAtomically(const std::string& path, std::string_view contents,
                           const HighScoreFileOps& ops);
