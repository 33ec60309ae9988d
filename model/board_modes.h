// The board's background modes and the colours they fill the board with.
#pragma once

#include <cstdint>

constexpr int BM_WINDOW = 0;        // ink over the live screen; input passes to the programs beneath
constexpr int BM_TRANSPARENT = 1;   // ink over the live screen; the board takes all input
constexpr int BM_GREENBOARD = 250;
constexpr int BM_WHITEBOARD = 255;

// White with alpha 1, not 0: as good as invisible, yet the board still takes input there.
constexpr std::uint32_t ARGB_SEE_THROUGH = 0x01FFFFFF;
constexpr std::uint32_t ARGB_WHITEBOARD = 0xFFFFFFFF;
constexpr std::uint32_t ARGB_GREENBOARD = 0xFF006934;
