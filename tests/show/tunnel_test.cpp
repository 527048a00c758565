// The tunnel's pixels at a show time are in the show_3700_tunnel frame hash;
// these are the values no frame of the show reaches.
#include <gtest/gtest.h>

#include "show/tunnel.h"

TEST(Tunnel, CentreAndTruncationEdges) {
    fill_tunnel_tables();
    EXPECT_EQ(TunnelDepth[128][128], 0);  // distance 0: no division
    EXPECT_EQ(TunnelAngle[0][128], -63);  // truncated towards zero, not down
    EXPECT_EQ(low_byte_of_trunc(-1.5), 255);  // trunc -1
    EXPECT_EQ(low_byte_of_trunc(-256.5), 0);  // trunc -256
    EXPECT_EQ(low_byte_of_trunc(1e300), 0);   // a multiple of 256, no overflow
}
