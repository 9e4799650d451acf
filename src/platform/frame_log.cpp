#include "platform/frame_log.h"

namespace {

void writeHeldFrames(FrameLog& log) {
    for (std::size_t i = 0; i < log.count; ++i) {
        const FrameRecord& frame = log.frames[i];
        std::fprintf(log.file, "%llu %u %u\n", static_cast<unsigned long long>(frame.swapMicros),
                     frame.sleepAskedMilliseconds, frame.sleptMicros);
    }
    log.count = 0;
}

} // namespace

bool openFrameLog(FrameLog& log, const char* path) {
    log.count = 0;
    log.sleepAskedMilliseconds = 0;
    log.sleptMicros = 0;
    log.file = std::fopen(path, "w");
    return log.file != nullptr;
}

bool frameLogOpen(const FrameLog& log) {
    return log.file != nullptr;
}

void recordFrame(FrameLog& log, std::uint64_t swapMicros) {
    if (log.file == nullptr) {
        return;
    }
    if (log.count == log.frames.size()) {
        writeHeldFrames(log);
    }
    log.frames[log.count] = FrameRecord{swapMicros, log.sleepAskedMilliseconds, log.sleptMicros};
    log.count += 1;
    log.sleepAskedMilliseconds = 0;
    log.sleptMicros = 0;
}

void recordSleep(FrameLog& log, std::uint32_t askedMilliseconds, std::uint32_t sleptMicros) {
    log.sleepAskedMilliseconds += askedMilliseconds;
    log.sleptMicros += sleptMicros;
}

void closeFrameLog(FrameLog& log) {
    if (log.file == nullptr) {
        return;
    }
    writeHeldFrames(log);
    std::fclose(log.file);
    log.file = nullptr;
}
