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

// An edge of zero length, and one parallel to the light whose cosine rounds
// past -1, still get a shade.
TEST_F(ShapesTest, EdgeShadeHasAValueForEveryDirection) {
    EXPECT_EQ(edge_shade_of(0, 0), 0);
    EXPECT_EQ(edge_shade_of(-0.009, -0.045), 31);
}

// The cell's extent bounds every height a sloped top's planes give over the
// footprint, and is unknown as soon as one footprint leaves the cell.
TEST_F(ShapesTest, CellExtentBoundsThePlanesAndNeedsFootprintsInTheCell) {
    const double xy[4][2] = {{0.2, 0.1}, {0.9, 0.3}, {0.4, 0.8}, {0, 0}};
    const double tops[4] = {-1, -0.5, -2, 0};
    add(TriangleSheet, xy, tops);
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

    EXPECT_EQ(cell.verticesAtCorners, 0);

    CylinderGeometry column{};
    column.cx = 0.9;
    column.cy = 0.5;
    column.radius = 0.2;  // reaches past x = 1
    add_cylinder_shape(grid, 7, 3, column);
    EXPECT_EQ(cell.extentKnown, 0);
}

// The corners stand in for the vertices only while every vertex is one: the
// two halves of a terrain cell keep the flag, one vertex off a corner drops it.
TEST_F(ShapesTest, CornersStandForTheVerticesOnlyWhileEveryVertexIsOne) {
    const double tops[4] = {0.5, 0.7, 0.6, 0};
    add(TrianglePrism, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}, tops);
    add(TrianglePrism, {{0, 0}, {1, 1}, {0, 1}, {0, 0}}, tops);
    const GridCell& cell = cell_at(grid, 7, 3);
    EXPECT_EQ(cell.verticesAtCorners, 1);
    add(TriangleSheet, {{0, 0}, {1, 0}, {0.5, 1}, {0, 0}}, tops);
    EXPECT_EQ(cell.verticesAtCorners, 0);
}

}  // namespace
