// Tunnel tables and the per-frame rewrite of the terminal screen.
#include "show/tunnel.h"

#include <cmath>

int32_t TunnelAngle[TunnelSize][TunnelSize];
int32_t TunnelDepth[TunnelSize][TunnelSize];
uint32_t XorPattern[TunnelSize][TunnelSize];

void fill_tunnel_tables() {
    for (int32_t u = 0; u < TunnelSize; ++u)
        for (int32_t v = 0; v < TunnelSize; ++v) XorPattern[u][v] = uint32_t(u ^ v) << 8;

    for (int32_t j = 0; j < TunnelSize; ++j) {
        for (int32_t i = 0; i < TunnelSize; ++i) {
            const double dy = j - 128;
            const double dx = i - 128;
            TunnelAngle[j][i] = int32_t(std::atan2(dy, dx) * 128 / PiRoundedUp);
            const double distance = std::sqrt(dx * dx + dy * dy);
            // The centre has no direction and no depth: 8192 / 0 is no number
            // an integer can hold, so its code is 0 like its neighbours'
            // (8192 / 1 = 32 x 256).
            TunnelDepth[j][i] = distance == 0 ? 0 : int32_t(8192 / distance) % 256;
        }
    }
}

int32_t low_byte_of_trunc(double value) {
    // trunc(value) and trunc(fmod(value, 256)) differ by a multiple of 256.
    return int32_t(std::fmod(value, 256.0)) & 255;
}

void draw_tunnel(uint32_t* image, double elapsed) {
    const int32_t a = low_byte_of_trunc(256 * elapsed);
    const int32_t b = low_byte_of_trunc(64 * elapsed);
    // One lookup per texel; u and v are the low 8 bits of the shifted codes,
    // so negative angles wrap round.
    for (int32_t j = 0; j < TunnelSize; ++j) {
        uint32_t* row = image + j * TunnelSize;
        for (int32_t i = 0; i < TunnelSize; ++i) {
            const int32_t u = (TunnelDepth[j][i] + a) & 255;
            const int32_t v = (TunnelAngle[j][i] + b) & 255;
            row[i] = XorPattern[u][v];
        }
    }
}
