#include <gtest/gtest.h>

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
    void draw_wall(double top, double bottom, double scale, Texture* t = nullptr, bool clear = true) {
        RayHit h{};
        h.hit = true;
        h.scale = scale;
        h.dist = ScreenHeight / scale;
        h.wallTopRow = top;
        h.wallBottomRow = bottom;
        h.wallTexture = t ? t : texture;
        h.texU = 5;
        if (clear) pixels.assign(ScreenHeight, 0);
        draw_wall_span(column, h, view, cache);
    }
};

TEST_F(SpanTest, DrawersFillOnlyEmptyPixelsAndTransparentTexelsShowWhatIsBehind) {
    Texture* holes = make_fixture_texture(2, 128, 128, [](int32_t, int32_t row) { return row % 2 == 1; });
    pixels[10] = 0x123456;
    draw_wall(0, 128, 128, holes, false);
    EXPECT_EQ(pixels[10], 0x123456u);  // already drawn: left alone
    EXPECT_EQ(pixels[1], 0u);          // transparent texel: still empty
    EXPECT_NE(pixels[2], 0u);
    draw_wall(0, 128, 128, nullptr, false);  // the farther wall shows through
    EXPECT_EQ(texel_row(pixels[1]), 1);
    EXPECT_EQ(pixels[2], holes->pixels[2 * 128 + 5]);
}

// A wall reaching below the screen is drawn down to the last row; the bottom
// face, which samples one row ahead, stops one row before it.
TEST_F(SpanTest, SpansEndAtTheLastRow) {
    draw_wall(900, 5000, 2000);
    EXPECT_NE(pixels[ScreenHeight - 1], 0u);
    pixels.assign(ScreenHeight, 0);
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

// With a positive HorizonOffset, which no golden pose has, the sky rows above
// the horizon run backwards through the texture.
TEST_F(SpanTest, SkyAboveALowHorizonRunsBackwardsAndFillsOnlyEmptyPixels) {
    make_fixture_texture(8, 1024, 128);
    view.horizon = 400;
    pixels[500] = 7;
    draw_sky_column(0, column, true, view);
    EXPECT_EQ(texel_row(pixels[0]), 100);
    EXPECT_EQ(texel_row(pixels[396]), 1);
    EXPECT_EQ(texel_row(pixels[404]), 1);
    EXPECT_EQ(pixels[500], 7u);
}

}  // namespace
