#include <gtest/gtest.h>

#include <vector>

#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/spans.h"

// A wall reaching below the screen is drawn down to the last row; the bottom
// face, which samples one row ahead, stops one row before it.
TEST(Spans, EndAtTheLastRow) {
    std::vector<uint32_t> pixels(ScreenHeight, 0);
    const ColumnTarget column{pixels.data(), 1};
    const View view{3.5, 2.5, 0.5, 0, -1, 0, 0, 0.66, 0, nullptr};
    ShadeCache cache;
    Texture* texture = make_fixture_texture(0, 128, 128);
    RayHit h{};
    h.hit = true;
    h.scale = 2000;
    h.dist = ScreenHeight / h.scale;
    h.wallTopRow = 900;
    h.wallBottomRow = 5000;
    h.wallTexture = texture;
    h.texU = 5;
    draw_wall_span(column, h, view, cache);
    EXPECT_NE(pixels[ScreenHeight - 1], 0u);

    pixels.assign(ScreenHeight, 0);
    h = RayHit{};
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
