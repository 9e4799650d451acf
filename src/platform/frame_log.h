// The frame log (HEMORUNE_FRAME_LOG names the file): the moment of every presented frame, in
// microseconds of a monotonic clock, one per line. Kept in memory and written in large blocks, so
// logging costs a frame no more than storing one number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct FrameLog {
    std::FILE* file = nullptr; // open while logging
    // About 17 minutes of frames at 62.5 a second before the first write.
    std::array<std::uint64_t, 65536> stamps{};
    std::size_t count = 0;
};

// Opens the log file; false (and no logging) when it cannot be written.
bool openFrameLog(FrameLog& log, const char* path);
// Called after each buffer swap. Writes the block out only when it is full.
void recordFrame(FrameLog& log, std::uint64_t micros);
// Writes what is held and closes the file; called at shut-down and at an immediate exit.
void closeFrameLog(FrameLog& log);
