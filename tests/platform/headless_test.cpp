#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"

// The virtual clock reads 1000 + j x 1000 / fps in frame j, truncated in 64
// bits, however often it is read; reopening starts it again at frame 0. The
// real clock counts from the program's start.
TEST(HeadlessClock, CountsFramesNotReadsAndTheRealClockCountsFromTheStart) {
    std::string error;
    ASSERT_TRUE(platform_open_headless(60, &error)) << error;
    set_virtual_frame(2);
    ASSERT_TRUE(platform_open_headless(7, &error)) << error;
    const int64_t at7[] = {1000, 1142, 1285, 1428, 1571, 1714, 1857, 2000};
    for (int64_t frame = 0; frame < 8; ++frame) {
        if (frame > 0) set_virtual_frame(frame);
        EXPECT_EQ(now_ms(), at7[frame]);
        EXPECT_EQ(now_ms(), at7[frame]) << "a second read in the same frame";
    }
    set_virtual_frame(int64_t(1) << 40);
    EXPECT_EQ(now_ms(), 1000 + (int64_t(1) << 40) * 1000 / 7) << "no overflow in a very long run";

    platform_close();
    const int64_t first = now_ms();
    EXPECT_GE(first, 1000);
    EXPECT_LT(first, 1000 + 600000);
    EXPECT_GE(now_ms(), first);
}

// The frame buffer is one whole cleared frame whose rows start on cache lines
// (the tile copy's streaming stores need that), and asking again keeps it.
TEST(FrameBuffer, IsAClearedFrameOnACacheLineAndStaysTheSame) {
    std::string error;
    ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    ASSERT_NE(FrameBuffer, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(FrameBuffer) % 64, 0u);
    const size_t pixels = size_t(ScreenWidth) * ScreenHeight;
    EXPECT_EQ(std::count(FrameBuffer, FrameBuffer + pixels, 0u), ptrdiff_t(pixels));
    uint32_t* const first = FrameBuffer;
    first[pixels - 1] = 0xFFFFFF;
    ASSERT_TRUE(platform_allocate_frame_buffer(&error)) << error;
    EXPECT_EQ(FrameBuffer, first);
    EXPECT_EQ(FrameBuffer[pixels - 1], 0xFFFFFFu);
    FrameBuffer[pixels - 1] = 0;
}
