#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/spans.h"

namespace {

struct SpanTest : ::testing::Test {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(ScreenHeight, 0);
    ColumnTarget column{pixels.data(), 1};
    View view{3.5, 2.5, 0.5, 0, -1, 0, 0, 0.66, 0};
    ShadeCache cache;
    Texture* texture = make_fixture_texture(0, 128, 128);

    // A wall of the fixture texture with its top and bottom rows and scale, drawn into a clear column.
    void draw_wall(double top, double bottom, double scale, Texture* t = nullptr, bool fitHeight = false,
                   bool clear = true) {
        RayHit h{};
        h.hit = true;
        h.scale = scale;
        h.dist = ScreenHeight / scale;
        h.wallTopRow = top;
        h.wallBottomRow = bottom;
        h.wallTexture = t ? t : texture;
        h.texU = 5;
        h.fitHeight = fitHeight;
        if (clear) pixels.assign(ScreenHeight, 0);
        draw_wall_span(column, h, view, cache);
    }
};

TEST_F(SpanTest, WallMipLevelFollowsRowsPerUnit) {
    draw_wall(100, 400, 300);  // more rows than texels: base level
    EXPECT_EQ(texel_level(pixels[200]), 0);
    EXPECT_EQ(texel_col(pixels[200]), 5);
    draw_wall(100, 116, 16);  // 16 rows per unit: 128 / 16 = 2^3
    EXPECT_EQ(texel_level(pixels[105]), 3);
    EXPECT_EQ(texel_col(pixels[105]), 5 >> 3);
    draw_wall(100, 101, 0.5);  // a far wall: the single-row level
    EXPECT_EQ(texel_level(pixels[100]), 7);
}

// 200 rows per unit over 128 texel rows: 0.64 texel rows a screen row. A
// wall whose top lies 100.5 rows above the screen continues from there at
// row 0 (texel row 64), also when HorizonOffset moves it.
TEST_F(SpanTest, WallAboveTheScreenKeepsItsTextureAnchored) {
    draw_wall(-100.5, 600, 200);
    EXPECT_EQ(texel_row(pixels[0]), 64);
    EXPECT_EQ(texel_row(pixels[300]), 0);  // 64.32 + 300 x 0.64 wraps past 256
    view.horizon = -50;
    draw_wall(-50.5, 650, 200);
    EXPECT_EQ(texel_row(pixels[0]), 64);
}

TEST_F(SpanTest, FitHeightStretchesTheTextureOnceAndSpansReachTheLastRow) {
    draw_wall(100, 356, 40, nullptr, true);  // 40 rows per unit picks level 2: 32 rows over 256
    EXPECT_EQ(pixels[99], 0u);
    EXPECT_EQ(texel_row(pixels[100]), 0);
    EXPECT_EQ(texel_row(pixels[108]), 1);
    EXPECT_EQ(texel_row(pixels[355]), 31);
    EXPECT_EQ(pixels[356], 0u);
    draw_wall(900, 5000, 2000);
    EXPECT_NE(pixels[ScreenHeight - 1], 0u);
}

TEST_F(SpanTest, DrawersFillOnlyEmptyPixelsAndTransparentTexelsShowWhatIsBehind) {
    Texture* holes = make_fixture_texture(2, 128, 128, [](int32_t, int32_t row) { return row % 2 == 1; });
    pixels[10] = 0x123456;
    draw_wall(0, 128, 128, holes, false, false);
    EXPECT_EQ(pixels[10], 0x123456u);  // already drawn: left alone
    EXPECT_EQ(pixels[1], 0u);          // transparent texel: still empty
    EXPECT_NE(pixels[2], 0u);
    draw_wall(0, 128, 128, nullptr, false, false);  // the farther wall shows through
    EXPECT_EQ(texel_row(pixels[1]), 1);
    EXPECT_EQ(pixels[2], holes->pixels[2 * 128 + 5]);
}

// The bottom face samples one row ahead, so it stops one row before the last.
TEST_F(SpanTest, BottomFaceStopsOneRowShort) {
    RayHit h{};
    h.dist = 1;
    h.scale = ScreenHeight;
    h.nearX = 3;
    h.nearY = 2.5;
    h.bottomTexture = texture;
    h.bottomZ = 2;
    h.bottomNearRow = h.bottomNearRowFlat = 1000;
    h.bottomFarRow = h.bottomFarRowFlat = 1500;
    draw_bottom_face(column, h, view, cache);
    EXPECT_EQ(pixels[999], 0u);
    EXPECT_NE(pixels[1000], 0u);
    EXPECT_NE(pixels[ScreenHeight - 2], 0u);
    EXPECT_EQ(pixels[ScreenHeight - 1], 0u);
}

TEST_F(SpanTest, SkyFollowsTheHorizonAndFillsAllOnlyWhenAsked) {
    make_fixture_texture(8, 1024, 128);
    view.horizon = -400;
    draw_sky_column(0, column, false, view);
    EXPECT_EQ(texel_row(pixels[3]), 100);
    EXPECT_EQ(texel_row(pixels[4]), 101);
    EXPECT_EQ(texel_row(pixels[800]), (200 + 100) % 128);  // wraps vertically
    // With the horizon 400 rows down the rows above it run backwards.
    view.horizon = 400;
    pixels.assign(ScreenHeight, 0);
    draw_sky_column(0, column, false, view);
    EXPECT_EQ(texel_row(pixels[0]), 100);
    EXPECT_EQ(texel_row(pixels[396]), 1);
    EXPECT_EQ(texel_row(pixels[404]), 1);

    view.horizon = 0;
    view.heading = 3.141592653589793;  // half a turn: half the panorama
    pixels.assign(ScreenHeight, 0);
    pixels[0] = pixels[500] = 7;
    draw_sky_column(100, column, false, view);
    EXPECT_EQ(pixels[1], 0u);  // stopped at the drawn top pixel
    draw_sky_column(100, column, true, view);
    EXPECT_EQ(texel_col(pixels[1]), (136 * 100 / 1024 + 512) % 1024);
    EXPECT_NE(pixels[501], 0u);
    EXPECT_EQ(pixels[500], 7u);
}

}  // namespace
