#include "scores/high_score_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool writeAll(const HighScoreFileOps& ops, int fd, std::string_view contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = ops.write(fd, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// A rename is durable only once the directory entry is on disk too. Best effort: the new file is
// complete either way.
void syncDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileRead readWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return FileRead::missing;
    }
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        contents.append(buffer, got);
        if (got < sizeof buffer) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? FileRead::failed : FileRead::ok;
}

const HighScoreFileOps& systemFileOps() {
    static const HighScoreFileOps ops = {::mkstemp, ::write, ::fsync, ::close, ::rename, ::unlink};
    return ops;
}

bool replaceFileAtomically(const std::string& path, std::string_view contents,
                           const HighScoreFileOps& ops) {
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        if (::access(path.c_str(), W_OK) != 0) {
            return false;
        }
        mode = old.st_mode & 0777;
    }
    std::string tempName = path + ".XXXXXX";
    std::vector<char> pathTemplate(tempName.begin(), tempName.end());
    pathTemplate.push_back('\0');
    const int fd = ops.createTemp(pathTemplate.data());
    if (fd < 0) {
        return false;
    }
    tempName = pathTemplate.data();
    // mkstemp makes the file private; the list keeps the permissions it had.
    ::fchmod(fd, mode);
    const bool written = writeAll(ops, fd, contents) && ops.sync(fd) == 0;
    const bool closed = ops.close(fd) == 0;
    if (!written || !closed || ops.rename(tempName.c_str(), path.c_str()) != 0) {
        ops.remove(tempName.c_str());
        return false;
    }
    syncDirectoryOf(path);
    return true;
}
