#include <gtest/gtest.h>

#include <vector>

#include "world/shapes.h"

namespace {

struct ShapesTest : ::testing::Test {
    WorldGrid grid{};
    void TearDown() override { clear_world(grid); }

    const Shape& last(int32_t a, int32_t b) {
        const GridCell& cell = cell_at(grid, a, b);
        return cell.shapes[cell.shapeCount - 1];
    }
};

PolygonGeometry quad(const double corners[4][2], double zBottom, const double zTop[4]) {
    PolygonGeometry g{};
    for (int32_t i = 0; i < 4; ++i) g.vertices[i] = ShapeVertex{corners[i][0], corners[i][1], zBottom, zTop[i]};
    return g;
}

const double FullCell[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

TEST_F(ShapesTest, FullCellQuadEdgesShadesAndLevelTop) {
    const double tops[4] = {0.3, 0.3, 0.3, 0.3};
    add_polygon_shape(grid, 7, 3, QuadPrism, quad(FullCell, -1, tops));
    const Shape& s = last(7, 3);
    const PolygonGeometry& g = *s.geometry.polygon;
    EXPECT_EQ(g.edges[0].constX, 1);
    EXPECT_EQ(g.edges[0].constY, 0);
    EXPECT_EQ(g.edges[0].slope, 0);
    EXPECT_EQ(g.edges[0].intercept, 7);
    EXPECT_EQ(g.edges[1].constY, 1);
    EXPECT_EQ(g.edges[1].constX, 0);
    EXPECT_EQ(g.edges[2].intercept, 8);
    EXPECT_EQ(g.edges[3].constY, 1);
    // Edge directions run end to start: -Y, -X, +Y, +X.
    EXPECT_EQ((std::vector<int>{g.edgeShade[0], g.edgeShade[1], g.edgeShade[2], g.edgeShade[3]}),
              (std::vector<int>{29, 18, 2, 13}));
    EXPECT_EQ(g.topPlane.z0, 0.3);
    EXPECT_EQ(g.topPlane.dzdx, 0);
    EXPECT_EQ(g.topPlane.dzdy, 0);
    EXPECT_EQ(g.surfaceShade, 0);
    EXPECT_EQ(s.zTop, 0.3);
    EXPECT_EQ(s.zBottom, -1);
}

TEST_F(ShapesTest, EdgeShadeAtTheEndsOfItsRange) {
    EXPECT_EQ(edge_shade_of(0.1, 0.5), 0);
    EXPECT_EQ(edge_shade_of(-0.1, -0.5), 31);
    // Zero length has no angle; and a direction parallel to the light whose
    // cosine rounds past 1 must not become a conversion of NaN.
    EXPECT_EQ(edge_shade_of(0, 0), 0);
    EXPECT_EQ(edge_shade_of(0.009, 0.045), 0);
    EXPECT_EQ(edge_shade_of(-0.009, -0.045), 31);
    // The screen face's textured edge, direction (0, 0.36).
    EXPECT_NEAR(angle_between(0, 0.36, 0.1, 0.5), 0.197395559849881, 1e-15);
    EXPECT_EQ(edge_shade_of(0, 0.36), 2);
}

TEST_F(ShapesTest, PlanesOfASlopedShapeFollowBothHeightSets) {
    // Tops on z = 1 + 0.5 x + 0.25 y, bottoms on z = -1 - y, over a triangle
    // that is not aligned with the axes.
    PolygonGeometry g{};
    const double xy[3][2] = {{0.2, 0.1}, {0.9, 0.3}, {0.4, 0.8}};
    for (int32_t i = 0; i < 3; ++i) {
        const double x = xy[i][0], y = xy[i][1];
        g.vertices[i] = ShapeVertex{x, y, -1 - y, 1 + 0.5 * x + 0.25 * y};
    }
    add_polygon_shape(grid, 4, 4, TrianglePrism, g);
    const Shape& s = last(4, 4);
    const PolygonGeometry& p = *s.geometry.polygon;
    EXPECT_NEAR(p.topPlane.z0, 1, 1e-12);
    EXPECT_NEAR(p.topPlane.dzdx, 0.5, 1e-12);
    EXPECT_NEAR(p.topPlane.dzdy, 0.25, 1e-12);
    EXPECT_NEAR(p.bottomPlane.z0, -1, 1e-12);
    EXPECT_NEAR(p.bottomPlane.dzdx, 0, 1e-12);
    EXPECT_NEAR(p.bottomPlane.dzdy, -1, 1e-12);
    EXPECT_EQ(s.zTop, 1 + 0.5 * 0.9 + 0.25 * 0.3);
    EXPECT_EQ(s.zBottom, -1 - 0.8);
    EXPECT_EQ(p.edgeShade[3], 0);
}

TEST_F(ShapesTest, SurfaceShadeFromTheReliefOfTheTop) {
    const double ramp[4] = {-1.6, -1.3, -1.3, -1.6};
    add_polygon_shape(grid, 7, 4, QuadPrism, quad(FullCell, -2, ramp));
    EXPECT_EQ(last(7, 4).geometry.polygon->surfaceShade, 4);  // 0.3 x 16 = 4.8

    PolygonGeometry sheet{};
    sheet.vertices[0] = ShapeVertex{0, 0, -2, -2};
    sheet.vertices[1] = ShapeVertex{0, 1, -1.5, -1.5};
    sheet.vertices[2] = ShapeVertex{1, 1, -2.25, -2.25};
    add_polygon_shape(grid, 7, 4, TriangleSheet, sheet);
    EXPECT_EQ(last(7, 4).geometry.polygon->surfaceShade, 12);
    EXPECT_EQ(last(7, 4).zTop, -1.5);
    EXPECT_EQ(last(7, 4).zBottom, -1.5);

    const double steep[4] = {-2, -2, 0, 0};
    add_polygon_shape(grid, 7, 4, QuadSheet, quad(FullCell, -2, steep));
    EXPECT_EQ(last(7, 4).geometry.polygon->surfaceShade, 31);
    EXPECT_EQ(cell_at(grid, 7, 4).shapeCount, 3u);
}

TEST_F(ShapesTest, CylinderGetsItsBoundingSquareAndLevelPlanes) {
    CylinderGeometry c{};
    c.cx = 0.9;
    c.cy = 0.9;
    c.radius = 0.02;
    c.zBottom = -1.3;
    c.zTop = -1.05;
    add_cylinder_shape(grid, 9, 2, c);
    const Shape& s = last(9, 2);
    ASSERT_EQ(s.kind, Cylinder);
    const CylinderGeometry& g = *s.geometry.cylinder;
    EXPECT_DOUBLE_EQ(g.boundingSquare[0].x, 0.88);
    EXPECT_DOUBLE_EQ(g.boundingSquare[1].y, 0.92);
    EXPECT_DOUBLE_EQ(g.boundingSquare[2].x, 0.92);
    EXPECT_DOUBLE_EQ(g.boundingSquare[3].y, 0.88);
    EXPECT_EQ(g.boundingSquare[2].zTop, -1.05);
    EXPECT_EQ(g.topPlane.z0, -1.05);
    EXPECT_EQ(g.bottomPlane.z0, -1.3);
    EXPECT_EQ(s.zTop, -1.05);
    EXPECT_EQ(s.zBottom, -1.3);
}

TEST_F(ShapesTest, AppendKeepsOrderAndRefusesUnknownPolygonKinds) {
    const double tops[4] = {1, 2, 3, 4};
    for (int32_t i = 0; i < 5; ++i) add_polygon_shape(grid, 3, 3, i % 2 ? QuadSheet : QuadPrism, quad(FullCell, double(-i), tops));
    add_polygon_shape(grid, 3, 3, Cylinder, quad(FullCell, 0, tops));
    const GridCell& cell = cell_at(grid, 3, 3);
    ASSERT_EQ(cell.shapeCount, 5u);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(cell.shapes[i].kind, i % 2 ? QuadSheet : QuadPrism);
        EXPECT_EQ(cell.shapes[i].geometry.polygon->vertices[0].zBottom, double(-i));
    }
}

}  // namespace
