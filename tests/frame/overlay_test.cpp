#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "camera/camera.h"
#include "frame/overlay.h"
#include "world/world.h"

// The first frame measured shows its own rate, and a frame without a
// duration is left out of the mean instead of making it infinite; at a
// steady rate the mean is rescaled at 200 frames and again 160 frames later.
TEST(RateDisplay, FirstFramesAndTheRescaleAt200Frames) {
    RateDisplay first;
    EXPECT_EQ(update_rate(first, 0), 0) << "nothing measured yet";
    EXPECT_EQ(update_rate(first, 0.016), 63); // 62.5 rounds up
    EXPECT_EQ(update_rate(first, 0), 63);
    EXPECT_EQ(update_rate(first, 0.02), 56); // (62.5 + 50) / 2

    RateDisplay rate;
    const double dt = 0.02; // 50 frames a second
    for (int frame = 1; frame <= 199; ++frame) {
        EXPECT_EQ(update_rate(rate, dt), 50) << "frame " << frame;
        rescale_rate(rate);
    }
    EXPECT_EQ(rate.frameCount, 40);
    EXPECT_DOUBLE_EQ(rate.rateSum, 199.0 * 50 / 5);
    // (199 R / 5 + R) / 40 = 1.02 R
    EXPECT_EQ(update_rate(rate, dt), 51);
    rescale_rate(rate);
    // The mean sinks back towards R and is rescaled again 160 frames later.
    for (int frame = 201; frame < 359; ++frame) {
        update_rate(rate, dt);
        rescale_rate(rate);
    }
    EXPECT_EQ(rate.frameCount, 199);
    EXPECT_EQ(update_rate(rate, dt), 50);
    rescale_rate(rate);
    EXPECT_EQ(rate.frameCount, 40);
}

// A frame of the view's colour and an empty world.
struct MinimapTest : testing::Test {
    std::vector<uint32_t> frame = std::vector<uint32_t>(size_t(ScreenWidth) * ScreenHeight, 0x00204060);
    std::unique_ptr<WorldGrid> world = std::make_unique<WorldGrid>();
    uint32_t pixel(int32_t column, int32_t row) const { return frame[size_t(row) * ScreenWidth + size_t(column)]; }
};

TEST_F(MinimapTest, VisitedCellsRedOthersGreenBlendedOverTheView) {
    // Cell (a, b) = (3, 7): X index 3 runs across, Y index 7 down.
    cell_at(*world, 3, 7).visited = 1;
    draw_minimap(frame.data(), *world);

    // Half red or half green and half the view, each channel's mean truncated.
    const uint32_t red = 0x008F2030, green = 0x00109F30;
    for (int32_t dy = 0; dy < 4; ++dy)
        for (int32_t dx = 0; dx < 4; ++dx) EXPECT_EQ(pixel(MinimapLeft + 12 + dx, MinimapTop + 28 + dy), red);
    EXPECT_EQ(pixel(MinimapLeft + 28, MinimapTop + 12), green) << "the transposed cell stays green";

    // Exactly 128 x 128 pixels from column 1782 and row 10, nothing beyond them.
    EXPECT_EQ(pixel(1782, 10), green);
    EXPECT_EQ(pixel(1909, 137), green);
    EXPECT_EQ(pixel(1910, 137), 0x00204060u);
    EXPECT_EQ(pixel(1909, 138), 0x00204060u);
}

TEST_F(MinimapTest, HudLinesAtTheirRowsInWhiteAtScale2) {
    std::fill(frame.begin(), frame.end(), 0u);
    Camera camera;
    camera.x = 12.25;
    draw_hud(frame.data(), 63, camera);

    // Each line is 16 rows high from its top row; nothing else is touched.
    // 16-pixel cells: "FPS: 63 " ends before column 10 + 7 x 16, "Position X:
    // 12.250000" spans 21 cells.
    const int32_t tops[] = {5, 30, 52, 990, 1020, 1050};
    int32_t white = 0;
    int32_t rightmost[6] = {};
    for (int32_t line = 0; line < 6; ++line)
        for (int32_t row = tops[line]; row < tops[line] + 16; ++row)
            for (int32_t column = 0; column < ScreenWidth; ++column) {
                if (pixel(column, row) == 0) continue;
                ASSERT_EQ(pixel(column, row), 0x00FFFFFFu);
                ASSERT_GE(column, 10);
                ++white;
                rightmost[line] = std::max(rightmost[line], column);
            }
    for (int32_t line = 0; line < 6; ++line) EXPECT_GT(rightmost[line], 0) << "line " << line;
    EXPECT_LT(rightmost[0], 10 + 7 * 16);
    EXPECT_GT(rightmost[3], 10 + 20 * 16);
    EXPECT_LT(rightmost[3], 10 + 21 * 16);
    EXPECT_EQ(frame.size() - size_t(std::count(frame.begin(), frame.end(), 0u)), size_t(white))
        << "pixels drawn outside the lines";
}
