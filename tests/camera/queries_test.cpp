#include <gtest/gtest.h>

#include "camera/queries.h"
#include "test_shapes.h"

namespace {

struct QueriesTest : ::testing::Test {
    WorldGrid grid{};
    void TearDown() override { clear_world(grid); }
};

constexpr double Eye = -1.5;  // the eye 0.5 above feet at -2

// A cylinder counts as its bounding square, corners included.
void add_post(WorldGrid& grid, int32_t a, int32_t b, double zBottom, double zTop) {
    CylinderGeometry post{};
    post.cx = 0.5, post.cy = 0.5, post.radius = 0.3, post.zBottom = zBottom, post.zTop = zTop;
    add_cylinder_shape(grid, a, b, post);
}

TEST_F(QueriesTest, FloorIsTheHighestTopStrictlyBelowTheLimit) {
    add_level_ground(grid, 5, 5, 5, 5, -2);
    add_box(grid, 5, 5, 0, 0, 0.5, 1, -2, -1);
    EXPECT_EQ(floor_height_at(grid, 5.25, 5.5, -1), -2);
    EXPECT_EQ(floor_height_at(grid, 5.25, 5.5, -1 + 1e-9), -1);
    EXPECT_EQ(floor_height_at(grid, 7.5, 7.5, 0), NoFloor);
    EXPECT_EQ(floor_height_at(grid, -0.25, 5.5, 0), NoFloor);  // off the grid
    EXPECT_EQ(ground_height(grid, 5.64, 5.5, 0.15, 0), -1);   // one sample over the box
    EXPECT_EQ(ground_height(grid, 5.9, 5.5, 0.15, 0), -2);    // samples over the empty neighbour miss
    add_post(grid, 7, 7, -2, -0.5);
    EXPECT_EQ(floor_height_at(grid, 7.79, 7.79, 0), -0.5);
}

TEST_F(QueriesTest, HeadBoxAgainstTopsAndKinds) {
    add_box(grid, 5, 5, 0, 0, 1, 1, -4, -1.75);  // 0.25 above the feet
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, Eye));
    add_box(grid, 5, 5, 0, 0, 1, 1, -4, -1.65);  // 0.35 above the feet
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.5, Eye));
    clear_world(grid);
    // A sheet blocks with its top only, a prism with the same corners with its sides too.
    add_box(grid, 5, 5, 0.6, 0, 1, 1, -4, 4, QuadSheet);
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.5, Eye));
    add_box(grid, 5, 5, 0.6, 0, 1, 1, -4, 4, QuadPrism);
    EXPECT_TRUE(head_blocked(grid, 5.5, 5.5, Eye));
    clear_world(grid);
    add_post(grid, 5, 5, -4, 4);
    EXPECT_TRUE(head_blocked(grid, 5.9, 5.9, Eye));  // the box's corner is outside the circle, inside its square
    EXPECT_FALSE(head_blocked(grid, 5.95, 5.95, Eye));
}

TEST_F(QueriesTest, HeadBoxNearACellBoundaryTestsTheNeighbours) {
    add_box(grid, 6, 6, 0, 0, 1, 1, -4, 4);  // only the diagonal neighbour
    EXPECT_TRUE(head_blocked(grid, 5.9, 5.9, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.9, 5.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 5.5, 5.9, Eye));
    add_box(grid, 31, 6, 0, 0, 1, 1, -4, 4);
    EXPECT_TRUE(head_blocked(grid, 31.05, 6.5, Eye));
    EXPECT_FALSE(head_blocked(grid, 32.5, 6.5, Eye));  // off the grid
}

}  // namespace
