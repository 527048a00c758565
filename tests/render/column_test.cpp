#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "content/texture.h"
#include "fixtures.h"
#include "platform/platform.h"
#include "render/column.h"
#include "render/render.h"
#include "world/world.h"

namespace {

RayHit wall_rows(double top, double bottom, Texture* t) {
    RayHit h{};
    h.hit = true;
    h.scale = 100;
    h.wallTopRow = top;
    h.wallBottomRow = bottom;
    h.wallTexture = t;
    return h;
}

TEST(CoverRows, ShrinksTheOpenRangeOnlyFromItsEnds) {
    Texture dummy{};
    int32_t top = 0, bottom = ScreenHeight - 1;
    cover_rows(bottom, top, wall_rows(-20, 500, &dummy), 0);
    EXPECT_EQ(top, 501);
    RayHit floor{};
    floor.topTexture = &dummy;
    floor.topFarRow = 700;
    floor.topNearRow = 1200;
    cover_rows(bottom, top, floor, 0);
    EXPECT_EQ(bottom, 699);
    cover_rows(bottom, top, wall_rows(550, 600, &dummy), 0);  // inside the range: no change
    EXPECT_EQ(top, 501);
    EXPECT_EQ(bottom, 699);
    cover_rows(bottom, top, wall_rows(480, 720, &dummy), 0);
    EXPECT_EQ(top, 721);
    EXPECT_EQ(bottom, 479);

    // A wall right at the camera projects to rows far beyond any int32.
    top = 0, bottom = ScreenHeight - 1;
    cover_rows(bottom, top, wall_rows(-1e300, 1e300, &dummy), -400);
    EXPECT_GT(top, bottom);
    cover_rows(bottom, top, wall_rows(NAN, 5, &dummy), 0);  // not visible: nothing happens
}

// Overlapping height ranges draw nearest first; ranges that only touch (a box
// standing on a sheet) draw the shape nearer the eye's height first; equal
// keys stay in place.
TEST(OrderHits, DistanceThenHeightRule) {
    auto drawn = [](std::vector<std::array<double, 3>> hits, double eye) {
        CellHits cell{};
        for (const auto& [zTop, zBottom, dist] : hits) {
            const int32_t n = cell.count++;
            cell.hits[n].dist = dist;
            cell.zTop[n] = zTop;
            cell.zBottom[n] = zBottom;
            cell.order[n] = n;
        }
        order_hits(cell, eye);
        std::vector<int32_t> v;  // the last position is drawn first
        for (int32_t k = cell.count - 1; k >= 0; --k) v.push_back(cell.order[k]);
        return v;
    };
    EXPECT_EQ(drawn({{1, 0, 3.0}, {1.5, 0.5, 1.0}, {2, 0.2, 2.0}}, 1.5), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(drawn({{0, 0, 0.5}, {1, 0, 2.0}}, 1.5), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(drawn({{0, 0, 0.5}, {1, 0, 2.0}}, 0.7), (std::vector<int32_t>{1, 0}));  // eye inside the box's range
    EXPECT_EQ(drawn({{0, 0, 1}, {0, 0, 2}}, 1), (std::vector<int32_t>{1, 0}));
}

// A small scene: a floor sheet in every cell, a box (seen from below) and a
// cylinder on a cell corner ahead of the camera, a ring of walls at the
// grid's border, and a pane with transparent columns.
void build_scene() {
    reset_scene(8.5, 8.5, 0.5, 0.3, -540);
    Texture* brick = make_fixture_texture(0, 128, 128);
    Texture* ground = make_fixture_texture(1, 128, 128);
    Texture* glass = make_fixture_texture(2, 128, 16, [](int32_t c, int32_t) { return c % 4 != 0; });
    for (int32_t a = 1; a < GridSize - 1; ++a)
        for (int32_t b = 1; b < GridSize - 1; ++b) {
            const bool ring = a == 1 || b == 1 || a == GridSize - 2 || b == GridSize - 2;
            if (ring) add_shape(a, b, QuadPrism, box_geometry(a, b, 0, 0, 1, 1, 0, 2, brick, ground, nullptr), 2, 0);
            else add_shape(a, b, QuadSheet, box_geometry(a, b, 0, 0, 1, 1, 0, 0, nullptr, ground, nullptr), 0, 0);
        }
    add_shape(5, 8, QuadPrism, box_geometry(5, 8, 0.2, 0.2, 0.8, 0.8, 0.3, 1.2, brick, ground, ground), 1.2, 0.3);
    add_shape(6, 10, QuadPrism, box_geometry(6, 10, 0.4, 0.0, 0.6, 1.0, 0, 1.5, glass, nullptr, nullptr), 1.5, 0);
    CylinderGeometry c{};
    c.cx = 1;
    c.cy = 1;
    c.zTop = 1;
    c.radius = 0.8;
    c.sideTexture = brick;
    c.topTexture = ground;
    add_cylinder(5, 6, c);
}

void render_by_tiles() {
    for (int32_t t = 0; t < ScreenWidth / 64; ++t) render_tile(t);
}

// Headings 0 and pi / 2 put a ray with rdy = 0 or rdx = 0 in the centre column.
TEST(Frame, TilesGiveTheSamePixelsAsColumnsAndLeaveNoHoles) {
    build_scene();
    std::string hashes;
    for (const double heading : {0.0, 1.5707963267948966, 3.9269908169872414}) {
        SCOPED_TRACE(heading);
        set_camera_heading(TheCamera, heading);
        for (int32_t x = 0; x < ScreenWidth; ++x) render_column(x);
        const std::vector<uint32_t> columns(FrameBuffer, FrameBuffer + size_t(ScreenWidth) * ScreenHeight);
        std::memset(FrameBuffer, 0xAB, columns.size() * 4);
        render_by_tiles();
        ASSERT_EQ(std::memcmp(columns.data(), FrameBuffer, columns.size() * 4), 0);
        // The sky fills whatever the scene leaves open.
        EXPECT_EQ(std::count(columns.begin(), columns.end(), 0u), 0) << write_frame_png("holes");
        hashes += frame_hash() + " ";
    }
    // The same pixels as when these frames were checked by eye; any change
    // to the arithmetic or the drawing order shows here.
    EXPECT_EQ(hashes, "0a67e7b4bcd5a1c3 92cd012c0b144b2c 629059eab3ab9408 ") << write_frame_png("synthetic_last");
}

// More shapes in one cell than the hit buffer holds: the rest are dropped,
// the frame is drawn, and only the cells the rays enter are marked.
TEST(Frame, VisitedFlagsAndTheHitLimit) {
    build_scene();
    Texture* t = &TextureTable[0];
    for (int32_t i = 0; i < 20; ++i)
        add_shape(7, 9, QuadPrism, box_geometry(7, 9, 0.1, 0.1, 0.9, 0.9, i * 0.05, i * 0.05 + 0.04, t, t, t),
                  i * 0.05 + 0.04, i * 0.05);
    render_by_tiles();
    EXPECT_EQ(cell_at(TheWorld, 8, 8).visited, 1);    // the camera's cell
    EXPECT_EQ(cell_at(TheWorld, 0, 8).visited, 0);    // the border ring is never entered
    EXPECT_EQ(cell_at(TheWorld, 20, 20).visited, 0);  // behind the camera
}

}  // namespace
