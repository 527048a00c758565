#include <gtest/gtest.h>

#include "world/shapes.h"

namespace {

struct ShapesTest : ::testing::Test {
    WorldGrid grid{};
    void TearDown() override { clear_world(grid); }

    // Adds a full-cell polygon with the given tops and returns its geometry.
    const PolygonGeometry& add(int32_t kind, const double (&xy)[4][2], const double (&tops)[4]) {
        PolygonGeometry g{};
        for (int32_t i = 0; i < 4; ++i) g.vertices[i] = ShapeVertex{xy[i][0], xy[i][1], -3, tops[i]};
        add_polygon_shape(grid, 7, 3, kind, g);
        const GridCell& cell = cell_at(grid, 7, 3);
        return *cell.shapes[cell.shapeCount - 1].geometry.polygon;
    }
};

const double FullCell[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

TEST_F(ShapesTest, FullCellQuadEdgesAndShades) {
    const PolygonGeometry& g = add(QuadPrism, FullCell, {0.3, 0.3, 0.3, 0.3});
    EXPECT_EQ(g.edges[0].constX, 1);
    EXPECT_EQ(g.edges[0].intercept, 7);
    EXPECT_EQ(g.edges[2].intercept, 8);
    // Directions run end to start: -Y, -X, +Y, +X.
    EXPECT_EQ(g.edgeShade[0], 29);
    EXPECT_EQ(g.edgeShade[1], 18);
    EXPECT_EQ(g.edgeShade[2], 2);
    EXPECT_EQ(g.edgeShade[3], 13);
    EXPECT_EQ(g.surfaceShade, 0);
}

TEST_F(ShapesTest, EdgeShadeHasAValueForEveryDirection) {
    EXPECT_EQ(edge_shade_of(0.1, 0.5), 0);
    EXPECT_EQ(edge_shade_of(0, 0), 0);  // zero length: no angle
    // Parallel to the light, with a cosine that rounds past -1.
    EXPECT_EQ(edge_shade_of(-0.009, -0.045), 31);
    EXPECT_EQ(edge_shade_of(0, 0.36), 2);  // the screen face's textured edge
}

TEST_F(ShapesTest, SlopedTopsGivePlaneAndReliefShade) {
    // Tops on z = 1 + 0.5 x + 0.25 y over a triangle not aligned with the axes.
    const double xy[4][2] = {{0.2, 0.1}, {0.9, 0.3}, {0.4, 0.8}, {0, 0}};
    double tops[4] = {};
    for (int32_t i = 0; i < 3; ++i) tops[i] = 1 + 0.5 * xy[i][0] + 0.25 * xy[i][1];
    const PolygonGeometry& t = add(TriangleSheet, xy, tops);
    EXPECT_NEAR(t.topPlane.z0, 1, 1e-12);
    EXPECT_NEAR(t.topPlane.dzdx, 0.5, 1e-12);
    EXPECT_NEAR(t.topPlane.dzdy, 0.25, 1e-12);
    EXPECT_EQ(cell_at(grid, 7, 3).shapes[0].zBottom, tops[1]);  // a sheet sits at its highest corner

    EXPECT_EQ(add(QuadPrism, FullCell, {-1.6, -1.3, -1.3, -1.6}).surfaceShade, 4);  // 0.3 x 16 = 4.8
    EXPECT_EQ(add(TriangleSheet, FullCell, {-2, -1.5, -2.25, 0}).surfaceShade, 12);
    EXPECT_EQ(add(QuadSheet, FullCell, {-2, -2, 0, 0}).surfaceShade, 31);
}

// The extent bounds every height the planes give over the footprint, and is
// unknown as soon as one footprint leaves the cell.
TEST_F(ShapesTest, CellExtentBoundsThePlanesAndNeedsFootprintsInTheCell) {
    const double xy[4][2] = {{0.2, 0.1}, {0.9, 0.3}, {0.4, 0.8}, {0, 0}};
    add(TriangleSheet, xy, {-1, -0.5, -2, 0});
    const GridCell& cell = cell_at(grid, 7, 3);
    ASSERT_EQ(cell.extentKnown, 1);
    const HeightPlane& top = cell.shapes[0].geometry.polygon->topPlane;
    for (const double x : {0.2, 0.55, 0.9})
        for (const double y : {0.1, 0.45, 0.8}) {
            const double z = top.z0 + top.dzdx * x + top.dzdy * y;
            EXPECT_LE(cell.zLow, z);
            EXPECT_GE(cell.zHigh, z);
        }
    EXPECT_LT(cell.zLow, -3);  // the bottom plane, flat at -3, counts too
    EXPECT_GT(cell.zHigh, -0.5);

    CylinderGeometry column{};
    column.cx = 0.9;
    column.cy = 0.5;
    column.radius = 0.2;  // reaches past x = 1
    add_cylinder_shape(grid, 7, 3, column);
    EXPECT_EQ(cell.extentKnown, 0);
}

}  // namespace
