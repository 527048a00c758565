#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/spans.h"

// A wall reaching below the screen is drawn down to the last row; the bottom
// face, which samples one row ahead, stops one row before it.
namespace {

// Seen from (3.5, 2.5) at eye height 0.5, looking along -X.
const View SpanView{3.5, 2.5, 0.5, 0, -1, 0, 0, 0.66, 0, nullptr};

// A wall from row 900 to far below the screen.
RayHit tall_wall(Texture* texture) {
    RayHit h = wall_rows(900, 5000, texture);
    h.scale = 2000;
    h.dist = ScreenHeight / h.scale;
    h.texU = 5;
    return h;
}

// A top face (z 0.2) or a bottom face (z 2) one unit in front of SpanView's
// eye, from row 1000 to row 1500, below the screen's last row.
RayHit face_hit(Texture* texture, bool top) {
    RayHit h{};
    h.dist = 1;
    h.scale = ScreenHeight;
    h.nearX = 3;
    h.nearY = 2.5;
    if (top) {
        h.topTexture = texture;
        h.topZ = 0.2;
        h.topFarRow = h.topFarRowFlat = 1000;
        h.topNearRow = h.topNearRowFlat = 1500;
    } else {
        h.bottomTexture = texture;
        h.bottomZ = 2;
        h.bottomNearRow = h.bottomNearRowFlat = 1000;
        h.bottomFarRow = h.bottomFarRowFlat = 1500;
    }
    return h;
}

}  // namespace

TEST(Spans, EndAtTheLastRow) {
    std::vector<uint32_t> pixels(ScreenHeight, 0);
    const ColumnTarget column{pixels.data(), 1};
    ShadeCache cache;
    Texture* texture = make_fixture_texture(0, 128, 128);
    draw_wall_span(column, tall_wall(texture), SpanView, cache);
    EXPECT_NE(pixels[ScreenHeight - 1], 0u);

    pixels.assign(ScreenHeight, 0);
    draw_bottom_face(column, face_hit(texture, false), SpanView, cache);
    EXPECT_EQ(pixels[999], 0u);
    EXPECT_NE(pixels[1000], 0u);
    EXPECT_NE(pixels[ScreenHeight - 2], 0u);
    EXPECT_EQ(pixels[ScreenHeight - 1], 0u);
}

// A span over rows that are all drawn but one still fills that one, whether
// it is the first or the last row of the span, and keeps the drawn ones.
TEST(Spans, FillTheOneEmptyRowOfADrawnRange) {
    ShadeCache cache;
    Texture* texture = make_fixture_texture(0, 128, 128);
    const RayHit wall = tall_wall(texture), top = face_hit(texture, true), bottom = face_hit(texture, false);
    constexpr uint32_t Drawn = 0x123456;
    struct Case {
        const RayHit& hit;
        void (*draw)(ColumnTarget, const RayHit&, const View&, ShadeCache&);
        int32_t first, last;
    };
    for (const Case& c : {Case{wall, draw_wall_span, 900, ScreenHeight - 1},
                          Case{top, draw_top_face, 1000, ScreenHeight - 1},
                          Case{bottom, draw_bottom_face, 1000, ScreenHeight - 2}}) {
        for (const int32_t empty : {c.first, c.last}) {
            std::vector<uint32_t> pixels(ScreenHeight, Drawn);
            pixels[size_t(empty)] = 0;
            c.draw(ColumnTarget{pixels.data(), 1}, c.hit, SpanView, cache);
            EXPECT_NE(pixels[size_t(empty)], 0u) << "row " << empty;
            EXPECT_NE(pixels[size_t(empty)], Drawn) << "row " << empty;
            for (int32_t r = 0; r < ScreenHeight; ++r) {
                if (r == empty) continue;
                ASSERT_EQ(pixels[size_t(r)], Drawn) << "row " << r;
            }
        }
    }
}

// The sky fills a column with panorama rows |i / 4 - horizon / 4| mod height,
// one texel row per four screen rows, mirrored where the difference turns
// negative: up to the first drawn pixel, or around every drawn one with
// fillAll; the same through adjacent rows and through a stride. One column
// copy serves every call: a panorama of another size, or one too tall to
// copy, is still drawn from its own texels.
TEST(Spans, SkyRowsFollowTheHorizon) {
    SkyColumn cache;
    for (Texture* const sky :
         {make_fixture_texture(0, 256, 128), make_fixture_texture(1, 128, 64), make_fixture_texture(2, 64, 1024)})
        for (const int32_t horizon : {-1000, -3, 0, 37, 5000})
            for (const bool fillAll : {false, true})
                for (const int32_t stride : {1, 2}) {
                    SCOPED_TRACE(testing::Message() << "height " << sky->height << " horizon " << horizon << " fillAll "
                                                    << fillAll << " stride " << stride);
                    const View view{3.5, 2.5, 0.5, 1.1, -1, 0, 0, 0.66, horizon, sky};
                    std::vector<uint32_t> pixels(size_t(ScreenHeight) * size_t(stride), 0);
                    const int32_t drawn[] = {6, 7, 500, 1079};
                    for (const int32_t r : drawn) pixels[size_t(r) * size_t(stride)] = 1;
                    draw_sky_column(700, ColumnTarget{pixels.data(), stride}, fillAll, view, cache);
                    const uint32_t u = pixels[0] & 1023;  // fixture texels hold their column in the low bits
                    ASSERT_LT(u, uint32_t(sky->width));
                    for (int32_t i = 0; i < ScreenHeight; ++i) {
                        const uint32_t pixel = pixels[size_t(i) * size_t(stride)];
                        const bool isDrawn = i == 6 || i == 7 || i == 500 || i == 1079;
                        const uint32_t row = uint32_t(std::llabs(i / 4 - horizon / 4) % sky->height);
                        const uint32_t texel = (1u << 20) | (row << 10) | u;
                        if (isDrawn) ASSERT_EQ(pixel, 1u) << i;
                        else if (fillAll || i < 6) ASSERT_EQ(pixel, texel) << i;
                        else ASSERT_EQ(pixel, 0u) << i;
                    }
                }
}
