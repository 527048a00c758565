#include <gtest/gtest.h>

#include "content/texture.h"
#include "fixtures.h"
#include "render/intersect.h"
#include "world/shapes.h"

namespace {

Ray ray_from(double camX, double camY, double rdx, double rdy, double eye) {
    Ray r{camX, camY, rdx, rdy, 0, 0, eye};
    r.s = rdx / rdy;
    r.c = camX - camY * r.s;
    return r;
}

struct IntersectTest : ::testing::Test {
    Texture* side = make_fixture_texture(0, 128, 128);
    Texture* top = make_fixture_texture(1, 128, 128);
    OwnedWorld world = empty_world();
    // Box over world [2.25, 2.75] x [2.25, 2.75], z 0..1.
    Shape shape = add_box(*world, 2, 2, QuadPrism, 0.25, 0.25, 0.75, 0.75, 0, 1, side, top);
    RayHit h;
};

TEST_F(IntersectTest, RayThroughVertexKeepsEntryAndExit) {
    // From (3.75, 3.25) along (-1, -0.5) the ray passes the corner (2.75, 2.75)
    // exactly, where two edges accept it, and leaves through X = 2.25.
    intersect_shape(2, 2, ray_from(3.75, 3.25, -1, -0.5, 1.5), shape, h);
    ASSERT_TRUE(h.hit);
    EXPECT_DOUBLE_EQ(h.dist, 1.0);
    EXPECT_NEAR(h.topFarRowFlat, 1080 + 0.4999 * 1080 / 1.5, 1e-9);
    // Through two opposite corners: four crossings, still one entry and exit.
    intersect_shape(2, 2, ray_from(3.5, 3.5, -1, -1, 1.5), shape, h);
    ASSERT_TRUE(h.hit);
    EXPECT_DOUBLE_EQ(h.dist, 0.75);
}

TEST_F(IntersectTest, AxisParallelRaysHitLikeSlightlyTurnedOnes) {
    RayHit turned;
    const double rays[][4] = {{-1, 0, -1, 1e-7}, {1, 0, 1, -1e-7}, {0, 1, 1e-7, 1}, {0, -1, -1e-7, -1}};
    const double cams[][2] = {{3.5, 2.6}, {1.5, 2.6}, {2.4, 1.5}, {2.4, 3.5}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        intersect_shape(2, 2, ray_from(cams[i][0], cams[i][1], rays[i][0], rays[i][1], 1.5), shape, h);
        intersect_shape(2, 2, ray_from(cams[i][0], cams[i][1], rays[i][2], rays[i][3], 1.5), shape, turned);
        ASSERT_TRUE(h.hit);
        ASSERT_TRUE(turned.hit);
        EXPECT_NEAR(h.dist, turned.dist, 1e-5);
        EXPECT_NEAR(h.wallTopRow, turned.wallTopRow, 0.05);
        EXPECT_NEAR(h.topFarRow, turned.topFarRow, 0.05);
        EXPECT_EQ(h.texU, turned.texU);
        EXPECT_EQ(h.wallTexture, side);
    }
}

TEST_F(IntersectTest, QuarterDiscOnCellCornerIsCutToTheCell) {
    // A disc of radius 0.8 centred on the corner (3, 3) of cell (2, 2).
    CylinderGeometry g{};
    g.cx = g.cy = 1;
    g.zTop = 1;
    g.radius = 0.8;
    g.sideTexture = side;
    g.topTexture = top;
    add_cylinder_shape(*world, 2, 2, g);
    const Shape s = cell_at(*world, 2, 2).shapes[1];

    // Entering the circle outside the cell, the near point is cut onto the cell's edge.
    intersect_shape(2, 2, ray_from(3.5, 2.6, -1, 0.05, 1.5), s, h);
    ASSERT_TRUE(h.hit);
    EXPECT_DOUBLE_EQ(h.nearX, 2.999);
    // The chord lies wholly in the neighbouring cell (3, 2); the line misses the circle.
    intersect_shape(2, 2, ray_from(3.5, 2.5, 0.1, 1, 1.5), s, h);
    EXPECT_FALSE(h.hit);
    intersect_shape(2, 2, ray_from(2.5, 1.5, -1, 0.2, 1.5), s, h);
    EXPECT_FALSE(h.hit);
}

}  // namespace
