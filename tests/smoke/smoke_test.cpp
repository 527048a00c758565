#include <gtest/gtest.h>

#include "content/color.h"

TEST(Smoke, BlendHalf) { EXPECT_EQ(blend_half(0x00FFFFFFu, 0x00000001u), 0x007F7F80u); }
