#include "platform/frame_log.h"

namespace {

void writeHeldStamps(FrameLog& log) {
    for (std::size_t i = 0; i < log.count; ++i) {
        std::fprintf(log.file, "%llu\n", static_cast<unsigned long long>(log.stamps[i]));
    }
    log.count = 0;
}

} // namespace

bool openFrameLog(FrameLog& log, const char* path) {
    log.count = 0;
    log.file = std::fopen(path, "w");
    return log.file != nullptr;
}

void recordFrame(FrameLog& log, std::uint64_t micros) {
    if (log.file == nullptr) {
        return;
    }
    if (log.count == log.stamps.size()) {
        writeHeldStamps(log);
    }
    log.stamps[log.count] = micros;
    log.count += 1;
}

void closeFrameLog(FrameLog& log) {
    if (log.file == nullptr) {
        return;
    }
    writeHeldStamps(log);
    std::fclose(log.file);
    log.file = nullptr;
}
