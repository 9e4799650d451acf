// Milliseconds since a moment of the clock, the way every timer of play measures them.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// Unsigned 32-bit difference, so a clock that wraps still gives the right age.
inline std::uint32_t millisecondsSince(std::uint32_t start) {
    return currentTime() - start;
}
