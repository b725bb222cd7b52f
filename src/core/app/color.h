// Colours as the program stores them: 24-bit values with red in the low byte
// (red + 256 * green + 65536 * blue).
#pragma once

#include <cstdint>

using Color = uint32_t;

// A row or cell without a colour of its own keeps the toolkit's default.
constexpr Color kNoColor = 0xFFFFFFFFu;

constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr unsigned colorRed(Color c) { return c & 0xFF; }
constexpr unsigned colorGreen(Color c) { return (c >> 8) & 0xFF; }
constexpr unsigned colorBlue(Color c) { return (c >> 16) & 0xFF; }
