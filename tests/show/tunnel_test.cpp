#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "show/tunnel.h"

TEST(Tunnel, TablesAtTheCentreAndOnTheAxes) {
    fill_tunnel_tables();
    EXPECT_EQ(TunnelDepth[128][128], 0);    // distance 0: no division
    EXPECT_EQ(TunnelDepth[128][131], 170);  // trunc(8192 / 3) = 2730
    EXPECT_EQ(TunnelDepth[0][0], 45);       // trunc(8192 / 181.02) = 45
    EXPECT_EQ(TunnelAngle[128][0], 127);    // atan2(0, -128) = pi, just under 128 codes
    EXPECT_EQ(TunnelAngle[0][128], -63);    // truncated towards zero, not down
    for (int32_t j = 0; j < TunnelSize; ++j)
        for (int32_t i = 0; i < TunnelSize; ++i) {
            ASSERT_LE(std::abs(TunnelAngle[j][i]), 127) << j << ", " << i;
            ASSERT_TRUE(TunnelDepth[j][i] >= 0 && TunnelDepth[j][i] <= 255) << j << ", " << i;
        }
}

TEST(Tunnel, LowByteOfTruncWrapsNegativesAndHugeValues) {
    EXPECT_EQ(low_byte_of_trunc(511.9), 255);
    EXPECT_EQ(low_byte_of_trunc(-1.5), 255);  // trunc -1
    EXPECT_EQ(low_byte_of_trunc(-256.5), 0);  // trunc -256
    EXPECT_EQ(low_byte_of_trunc(1e300), 0);   // a multiple of 256, no overflow
}

// The pattern streams outwards 256 depth codes and turns 64 angle codes a
// second; negative angles wrap through the low 8 bits.
TEST(Tunnel, DrawRewritesEveryTexelFromTheTables) {
    fill_tunnel_tables();
    std::vector<uint32_t> image(256 * 256, 0xABCDEF);
    draw_tunnel(image.data(), 0.5);  // a = 128, b = 32
    EXPECT_EQ(image[0 * 256 + 128], uint32_t((64 + 128) ^ (-63 + 32 + 256)) << 8);
    EXPECT_EQ(image[128 * 256 + 128], uint32_t(128 ^ 32) << 8);
    for (const uint32_t texel : image) ASSERT_EQ(texel & 0xFFFF00FFu, 0u);  // green only
}
