#include "platform/key_state.h"

std::array<std::uint8_t, 256> keyState{};
