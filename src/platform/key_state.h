// The keyboard as the game sees it: one down-flag per virtual-key code, kept up to date by
// windowProc between frames. Menu screens clear a flag to mark a press as used; play reads held
// keys.
#pragma once

#include <array>
#include <cstdint>

constexpr int vkBack = 0x08;
constexpr int vkReturn = 0x0D;
constexpr int vkShift = 0x10;
constexpr int vkControl = 0x11;
constexpr int vkMenu = 0x12; // Alt
constexpr int vkEscape = 0x1B;
constexpr int vkSpace = 0x20;
constexpr int vkLeft = 0x25;
constexpr int vkUp = 0x26;
constexpr int vkRight = 0x27;
constexpr int vkDown = 0x28;
constexpr int vkA = 0x41;
constexpr int vkZ = 0x5A;
constexpr int vkF1 = 0x70;
constexpr int vkF2 = 0x71;
constexpr int vkF10 = 0x79;

// 1 while the key is down, 0 when up. Zero at process start, never reset in bulk.
extern std::array<std::uint8_t, 256> keyState;
