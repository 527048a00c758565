// Colour helpers on 0x00RRGGBB values, integer per channel.
#pragma once

#include <cstdint>

// Per-channel truncated mean of two colours; the top byte of the result is 0.
inline uint32_t blend_half(uint32_t a, uint32_t b) {
    const uint32_t blue = ((a & 0xFF) + (b & 0xFF)) >> 1;
    const uint32_t green = (((a >> 8) & 0xFF) + ((b >> 8) & 0xFF)) >> 1;
    const uint32_t red = (((a >> 16) & 0xFF) + ((b >> 16) & 0xFF)) >> 1;
    return (red << 16) | (green << 8) | blue;
}
