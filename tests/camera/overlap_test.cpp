#include <gtest/gtest.h>

#include "camera/queries.h"

namespace {

const Rect Box{1, 1, 2, 3};

TEST(Overlap, PointInTriangleIsClosedInEitherWinding) {
    const Point2 a{0, 0}, b{2, 0}, c{0, 2};
    EXPECT_TRUE(point_in_triangle({1, 1}, a, b, c));
    EXPECT_TRUE(point_in_triangle({1, 1}, a, c, b));
    EXPECT_TRUE(point_in_triangle({0, 0}, a, c, b));
    EXPECT_FALSE(point_in_triangle({1.01, 1}, a, b, c));
}

TEST(Overlap, SegmentsTouchingTheBoundaryOverlap) {
    EXPECT_TRUE(segment_overlaps_rect(Box, {2, 0}, {2, 1}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {2.001, 0}, {2.001, 5}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {1.5, 5}, {1.5, 0}));  // spanning
    EXPECT_TRUE(segment_overlaps_rect(Box, {5, 2}, {0, 2}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {0, 2}, {0.99, 2}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {0, 2}, {1, 3}));  // oblique, ends on a corner
    EXPECT_TRUE(segment_overlaps_rect(Box, {0, 4}, {3, 0}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {0, 0.5}, {0.9, 1.4}));
}

TEST(Overlap, TrianglesAndQuadsAgainstRectangles) {
    EXPECT_TRUE(triangle_overlaps_rect(Box, {-10, -10}, {10, -10}, {0, 20}));  // the rectangle inside
    EXPECT_TRUE(triangle_overlaps_rect(Box, {2, 3}, {4, 3}, {4, 5}));          // one shared corner
    EXPECT_FALSE(triangle_overlaps_rect(Box, {2.1, 3}, {4, 3}, {4, 5}));
    EXPECT_TRUE(triangle_overlaps_rect(Box, {0, 2}, {3, 2.1}, {0, 2.2}));      // crossing, corners outside
    // A level face seen edge-on lies along the rectangle's top.
    EXPECT_TRUE(quad_overlaps_rect(Box, {0, 3}, {0, 3}, {5, 3}, {5, 3}));
    // A rectangle inside the square's triangle (c, d, a) only.
    EXPECT_TRUE(quad_overlaps_rect(Rect{0.1, 2, 0.4, 3}, {0, 0}, {4, 0}, {4, 4}, {0, 4}));
}

}  // namespace
