// The tunnel effect on the terminal screen: per-texel angle and depth codes
// computed once, and an XOR pattern looked up through them every frame.
#pragma once

#include <cstdint>

constexpr int32_t TunnelSize = 256;

// The angle codes are atan2 x 128 / PiRoundedUp. Pi rounded up to four
// places maps a half turn to just under 128, so every code lies in
// -127..127 and the pattern wraps with the low 8 bits.
constexpr double PiRoundedUp = 3.1416;

// Indexed [row j][column i] of the screen image.
extern int32_t TunnelAngle[TunnelSize][TunnelSize];  // -127..127
extern int32_t TunnelDepth[TunnelSize][TunnelSize];  // 0..255, 0 at the centre
// Indexed [u][v]: (u XOR v) << 8, a green XOR pattern.
extern uint32_t XorPattern[TunnelSize][TunnelSize];

// Fills XorPattern, then the angle and depth tables.
void fill_tunnel_tables();

// Low 8 bits of trunc(value), exact for any finite value.
int32_t low_byte_of_trunc(double value);

// Rewrites every texel of the 256 x 256 image for a time of elapsed seconds:
// depth codes stream outwards 256 a second, angle codes turn 64 a second.
void draw_tunnel(uint32_t* image, double elapsed);
