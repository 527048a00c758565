#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/intersect.h"
#include "render/spans.h"

namespace {

struct SpanTest : ::testing::Test {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(ScreenHeight, 0);
    ColumnTarget column{pixels.data(), 1};
    View view{3.5, 2.5, 0.5, 0, -1, 0, 0, 0.66, 0};
    ShadeCache cache;
    Texture* texture = make_fixture_texture(0, 128, 128);

    // A wall of the fixture texture with its top and bottom rows and scale.
    RayHit wall(double top, double bottom, double scale) {
        RayHit h{};
        h.hit = true;
        h.scale = scale;
        h.dist = ScreenHeight / scale;
        h.wallTopRow = top;
        h.wallBottomRow = bottom;
        h.wallTexture = texture;
        h.texU = 5;
        return h;
    }
};

TEST_F(SpanTest, WallMipLevelFollowsRowsPerUnit) {
    draw_wall_span(column, wall(100, 400, 300), view, cache);  // more rows than texels: base level
    EXPECT_EQ(texel_level(pixels[200]), 0);
    EXPECT_EQ(texel_col(pixels[200]), 5);
    pixels.assign(ScreenHeight, 0);
    draw_wall_span(column, wall(100, 116, 16), view, cache);  // 16 rows per unit: 128 / 16 = 2^3
    EXPECT_EQ(texel_level(pixels[105]), 3);
    EXPECT_EQ(texel_col(pixels[105]), 5 >> 3);
    pixels.assign(ScreenHeight, 0);
    draw_wall_span(column, wall(100, 101, 0.5), view, cache);  // a far wall: the single-row level
    EXPECT_EQ(texel_level(pixels[100]), 7);
    EXPECT_EQ(texel_row(pixels[100]), 0);
}

TEST_F(SpanTest, WallAboveTheScreenKeepsItsTextureAnchored) {
    // 200 rows per unit and 128 texel rows: 0.64 texel rows per screen row.
    // The top lies 100.5 rows above the screen; row 0 continues from there.
    const double step = 128.0 / 200;
    draw_wall_span(column, wall(-100.5, 600, 200), view, cache);
    EXPECT_EQ(texel_row(pixels[0]), int(std::trunc(100.5 * step)) % 128);
    EXPECT_EQ(texel_row(pixels[300]), int(std::trunc(100.5 * step + 300 * step)) % 128);
    // The same wall moved up by HorizonOffset shows the same texel at the same wall row.
    pixels.assign(ScreenHeight, 0);
    view.horizon = -50;
    draw_wall_span(column, wall(-50.5, 650, 200), view, cache);
    EXPECT_EQ(texel_row(pixels[0]), int(std::trunc(100.5 * step)) % 128);
}

TEST_F(SpanTest, FitHeightStretchesTheTextureOnceAndSpansReachTheLastRow) {
    RayHit h = wall(100, 356, 40);
    h.fitHeight = 1;
    draw_wall_span(column, h, view, cache);  // 40 rows per unit picks level 2: 32 rows over 256
    EXPECT_EQ(pixels[99], 0u);
    EXPECT_EQ(texel_row(pixels[100]), 0);
    EXPECT_EQ(texel_row(pixels[107]), 0);
    EXPECT_EQ(texel_row(pixels[108]), 1);
    EXPECT_EQ(texel_row(pixels[355]), 31);
    EXPECT_EQ(pixels[356], 0u);

    pixels.assign(ScreenHeight, 0);
    draw_wall_span(column, wall(900, 5000, 2000), view, cache);
    EXPECT_NE(pixels[ScreenHeight - 1], 0u);
}

TEST_F(SpanTest, DrawersFillOnlyEmptyPixelsAndTransparentTexelsShowWhatIsBehind) {
    Texture* holes = make_fixture_texture(2, 128, 128, [](int32_t, int32_t row) { return row % 2 == 1; });
    RayHit nearWall = wall(0, 128, 128);
    nearWall.wallTexture = holes;
    pixels[10] = 0x123456;
    draw_wall_span(column, nearWall, view, cache);
    EXPECT_EQ(pixels[10], 0x123456u);  // already drawn: left alone
    EXPECT_EQ(pixels[1], 0u);          // transparent texel: still empty
    EXPECT_NE(pixels[2], 0u);
    draw_wall_span(column, wall(0, 128, 128), view, cache);  // the farther wall shows through
    EXPECT_EQ(texel_row(pixels[1]), 1);
    EXPECT_EQ(pixels[2], holes->pixels[2 * 128 + 5]);
}

TEST_F(SpanTest, FloorSamplesTheGroundPointUnderEachRow) {
    // A level floor at z = 0 over cell (2, 2), eye at 0.5, ray along -X with a small Y part.
    Texture* floor = make_fixture_texture(3, 128, 128);
    PolygonGeometry g = box_geometry(2, 2, 0, 0, 1, 1, 0, 0, nullptr, floor, nullptr);
    Shape s{};
    s.geometry.polygon = &g;
    s.kind = QuadSheet;
    Ray ray{3.5, 2.5, -1, 0.2, 0, 0, 0.5};
    ray.s = ray.rdx / ray.rdy;
    ray.c = ray.camX - ray.camY * ray.s;
    RayHit h;
    intersect_shape(2, 2, ray, s, h);
    ASSERT_EQ(h.topTexture, floor);
    view.horizon = -800;  // the eye's row at 280: the floor is on screen
    draw_top_face(column, h, view, cache);
    const int32_t level = top_mip_level(*floor, h.scale);
    const int32_t n = 128 >> level;
    const int32_t farRow = int32_t(h.topFarRow + view.horizon);
    for (int32_t r : {farRow + 2, 900, ScreenHeight - 1}) {
        SCOPED_TRACE(r);
        // Where the row's line of sight meets z = 0, by similar triangles.
        const double k = (0.5 - 0.0001) * ScreenHeight / (h.dist * (r - view.horizon - ScreenHeight));
        const double wx = 3.5 + (h.nearX - 3.5) * k;
        const double wy = 2.5 + (h.nearY - 2.5) * k;
        ASSERT_NE(pixels[r], 0u);
        EXPECT_EQ(texel_level(pixels[r]), level);
        EXPECT_NEAR(texel_col(pixels[r]), std::floor(wx * n) - std::floor(wx) * n, 1.0);
        EXPECT_NEAR(texel_row(pixels[r]), std::floor(wy * n) - std::floor(wy) * n, 1.0);
    }
    EXPECT_EQ(pixels[farRow - 1], 0u);
}

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
    EXPECT_EQ(texel_row(pixels[0]), 100);
    EXPECT_EQ(texel_row(pixels[3]), 100);
    EXPECT_EQ(texel_row(pixels[4]), 101);
    EXPECT_EQ(texel_row(pixels[800]), (200 + 100) % 128);  // wraps vertically
    // With the horizon 400 rows down the rows above it run backwards.
    view.horizon = 400;
    pixels.assign(ScreenHeight, 0);
    draw_sky_column(0, column, false, view);
    EXPECT_EQ(texel_row(pixels[0]), 100);
    EXPECT_EQ(texel_row(pixels[396]), 1);
    EXPECT_EQ(texel_row(pixels[400]), 0);
    EXPECT_EQ(texel_row(pixels[404]), 1);

    view.horizon = 0;
    view.heading = 3.141592653589793;  // half a turn: half the panorama
    pixels.assign(ScreenHeight, 0);
    pixels[0] = 7;
    pixels[500] = 7;
    draw_sky_column(100, column, false, view);
    EXPECT_EQ(pixels[1], 0u);  // stopped at the drawn top pixel
    draw_sky_column(100, column, true, view);
    EXPECT_EQ(texel_col(pixels[1]), (136 * 100 / 1024 + 512) % 1024);
    EXPECT_NE(pixels[501], 0u);
    EXPECT_EQ(pixels[500], 7u);
}

}  // namespace
