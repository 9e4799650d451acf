// The frame log (HEMORUNE_FRAME_LOG names the file): one line per presented frame, with the
// moment of its buffer swap in microseconds of a monotonic clock, then the pacing sleep that came
// before it (milliseconds asked for, microseconds actually slept; 0 0 when there was none), so a
// reader can tell a frame's work from its sleep. Kept in memory and written in large blocks, so
// logging costs a frame no more than storing a few numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct FrameRecord {
    std::uint64_t swapMicros = 0;
    std::uint32_t sleepAskedMilliseconds = 0;
    std::uint32_t sleptMicros = 0;
};

struct FrameLog {
    std::FILE* file = nullptr; // open while logging
    // About 17 minutes of frames at 62.5 a second before the first write.
    std::array<FrameRecord, 65536> frames{};
    std::size_t count = 0;
    // The sleep since the last swap, for the next frame's record.
    std::uint32_t sleepAskedMilliseconds = 0;
    std::uint32_t sleptMicros = 0;
};

// Opens the log file; false (and no logging) when it cannot be written.
bool openFrameLog(FrameLog& log, const char* path);
bool frameLogOpen(const FrameLog& log);
// Called after each buffer swap. Writes the block out only when it is full.
void recordFrame(FrameLog& log, std::uint64_t swapMicros);
// Called after each sleep.
void recordSleep(FrameLog& log, std::uint32_t askedMilliseconds, std::uint32_t sleptMicros);
// Writes what is held and closes the file; called at shut-down and at an immediate exit.
void closeFrameLog(FrameLog& log);
