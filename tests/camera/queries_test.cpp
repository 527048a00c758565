#include <gtest/gtest.h>

#include <cmath>

#include "camera/queries.h"
#include "test_shapes.h"

namespace {

struct QueriesTest : ::testing::Test {
    WorldGrid grid{};
    void TearDown() override { clear_world(grid); }
};

TEST_F(QueriesTest, FloorIsTheHighestTopStrictlyBelowTheLimit) {
    add_level_ground(grid, 5, 5, 5, 5, -2);
    add_box(grid, 5, 5, 0, 0, 0.5, 1, -2, -1);
    EXPECT_EQ(floor_height_at(grid, 5.25, 5.5, -1), -2);  // a top at the limit is ignored
    EXPECT_EQ(floor_height_at(grid, 5.25, 5.5, -1 + 1e-9), -1);
    EXPECT_EQ(floor_height_at(grid, 5.5, 5.5, 0), -1);    // on the box's edge: closed
    EXPECT_EQ(floor_height_at(grid, 5.75, 5.5, 0), -2);
    EXPECT_EQ(floor_height_at(grid, 5.5, 5.5, -2), NoFloor);
    EXPECT_EQ(floor_height_at(grid, 7.5, 7.5, 0), NoFloor);

    // A sloped sheet is read from its plane.
    PolygonGeometry slope{};
    slope.vertices[0] = ShapeVertex{0, 0, -2, -2};
    slope.vertices[1] = ShapeVertex{0, 1, -1, -1};
    slope.vertices[2] = ShapeVertex{1, 1, -1, -1};
    add_polygon_shape(grid, 6, 5, TriangleSheet, slope);
    EXPECT_DOUBLE_EQ(floor_height_at(grid, 6.25, 5.75, 0), -1.25);
    EXPECT_EQ(floor_height_at(grid, 6.75, 5.25, 0), NoFloor);  // outside the triangle

    // A cylinder counts as its bounding square, corners included.
    CylinderGeometry post{};
    post.cx = 0.5, post.cy = 0.5, post.radius = 0.3, post.zBottom = -2, post.zTop = -0.5;
    add_cylinder_shape(grid, 7, 7, post);
    EXPECT_EQ(floor_height_at(grid, 7.79, 7.79, 0), -0.5);
}

TEST_F(QueriesTest, GroundIsTheHighestOfFiveSamples) {
    add_level_ground(grid, 5, 5, 5, 5, -2);
    add_box(grid, 5, 5, 0, 0, 0.5, 1, -2, -1.8);
    EXPECT_EQ(ground_height(grid, 5.64, 5.5, 0.15, 0), -1.8);  // one corner over the box
    EXPECT_EQ(ground_height(grid, 5.66, 5.5, 0.15, 0), -2);
    EXPECT_EQ(ground_height(grid, 5.5, 5.5, 0.15, -1.9), -2);
    // Samples over an empty neighbour miss; all five missing gives no floor.
    EXPECT_EQ(ground_height(grid, 5.9, 5.5, 0.15, 0), -2);
    EXPECT_EQ(ground_height(grid, 8.5, 8.5, 0.15, 0), NoFloor);
}

// The eye 0.5 above feet at -2, in the middle of cell (5, 5).
constexpr double Eye = -1.5;

TEST_F(QueriesTest, HeadBoxAgainstTopsAndKinds) {
    add_box(grid, 5, 5, 0, 0, 1, 1, -4, -1.75);  // 0.25 above the feet
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, Eye));
    clear_world(grid);
    add_box(grid, 5, 5, 0, 0, 1, 1, -4, -1.65);  // 0.35 above the feet
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, -1.65 + 0.2 + 1e-9));  // the box's lower end just above the top
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.5, -1.65 + 0.2));         // touching counts
    clear_world(grid);

    // A sheet blocks with its top only; a prism with the same corners blocks with its sides.
    add_box(grid, 5, 5, 0.6, 0, 1, 1, -4, 4, QuadSheet);
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, Eye));
    add_box(grid, 5, 5, 0.6, 0, 1, 1, -4, 4, QuadPrism);
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.5, Eye));
    clear_world(grid);

    // Triangle prisms never block.
    PolygonGeometry wedge{};
    wedge.vertices[1] = ShapeVertex{0, 1, -4, 4};
    wedge.vertices[2] = ShapeVertex{1, 1, -4, 4};
    wedge.vertices[0] = ShapeVertex{0, 0, -4, 4};
    add_polygon_shape(grid, 5, 5, TrianglePrism, wedge);
    EXPECT_FALSE(head_blocked(grid, 5.3, 5.7, Eye));
}

TEST_F(QueriesTest, CylinderBlocksAsItsBoundingSquare) {
    CylinderGeometry post{};
    post.cx = 0.5, post.cy = 0.5, post.radius = 0.3, post.zBottom = -4, post.zTop = 4;
    add_cylinder_shape(grid, 5, 5, post);
    // The head box's nearest corner (5.76, 5.76) lies outside the circle but inside the square.
    EXPECT_TRUE(head_blocked(grid, 5.9, 5.9, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.95, 5.95, Eye));
}

TEST_F(QueriesTest, HeadBoxNearACellBoundaryTestsTheNeighbours) {
    add_box(grid, 6, 5, 0, 0, 1, 1, -4, 4);
    EXPECT_TRUE(head_blocked(grid, 5.9, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, Eye));
    clear_world(grid);
    add_box(grid, 5, 6, 0, 0, 1, 1, -4, 4);
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.9, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.9, 5.5, Eye));
    clear_world(grid);
    add_box(grid, 6, 6, 0, 0, 1, 1, -4, 4);  // only the diagonal neighbour
    EXPECT_TRUE(head_blocked(grid, 5.9, 5.9, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.9, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.9, Eye));
}

TEST_F(QueriesTest, PointsOffTheGridSeeNothing) {
    add_level_ground(grid, 0, 31, 0, 31, -2);
    add_box(grid, 31, 5, 0, 0, 1, 1, -4, 4);
    EXPECT_EQ(floor_height_at(grid, -0.25, 5.5, 0), NoFloor);
    EXPECT_EQ(floor_height_at(grid, 32.5, 5.5, 0), NoFloor);
    EXPECT_EQ(floor_height_at(grid, 5.5, double(NAN), 0), NoFloor);
    EXPECT_EQ(ground_height(grid, 0.1, 5.5, 0.15, 0), -2);
    EXPECT_TRUE(head_blocked(grid, 31.95, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 32.5, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, -3, 5.5, Eye));
}

}  // namespace
