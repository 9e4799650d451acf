// A monotonic microsecond clock for measurements only (start-up report, frame log). The game's
// timers keep using currentTime(); nothing of play reads this.
#pragma once

#include <chrono>
#include <cstdint>

inline std::uint64_t steadyMicros() {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count());
}
