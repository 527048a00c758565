#include <gtest/gtest.h>

#include "camera/queries.h"

// Every overlap is closed: touching the boundary counts.
TEST(Overlap, ShapesTouchingTheRectangleOverlapIt) {
    const Rect box{1, 1, 2, 3};
    const Point2 a{0, 0}, b{2, 0}, c{0, 2};
    EXPECT_TRUE(point_in_triangle({1, 1}, a, c, b));  // either winding
    EXPECT_TRUE(point_in_triangle({0, 0}, a, b, c));
    EXPECT_FALSE(point_in_triangle({1.01, 1}, a, b, c));

    EXPECT_TRUE(segment_overlaps_rect(box, {2, 0}, {2, 1}));
    EXPECT_FALSE(segment_overlaps_rect(box, {2.001, 0}, {2.001, 5}));
    EXPECT_TRUE(segment_overlaps_rect(box, {1.5, 5}, {1.5, 0}));  // spanning
    EXPECT_TRUE(segment_overlaps_rect(box, {0, 2}, {1, 3}));      // oblique, ends on a corner
    EXPECT_FALSE(segment_overlaps_rect(box, {0, 0.5}, {0.9, 1.4}));

    EXPECT_TRUE(triangle_overlaps_rect(box, {-10, -10}, {10, -10}, {0, 20}));  // the rectangle inside
    EXPECT_TRUE(triangle_overlaps_rect(box, {2, 3}, {4, 3}, {4, 5}));          // one shared corner
    EXPECT_FALSE(triangle_overlaps_rect(box, {2.1, 3}, {4, 3}, {4, 5}));
    EXPECT_TRUE(triangle_overlaps_rect(box, {0, 2}, {3, 2.1}, {0, 2.2}));      // crossing, corners outside
    EXPECT_TRUE(quad_overlaps_rect(box, {0, 3}, {0, 3}, {5, 3}, {5, 3}));      // a face seen edge-on
    // A rectangle inside the square's triangle (c, d, a) only.
    EXPECT_TRUE(quad_overlaps_rect(Rect{0.1, 2, 0.4, 3}, {0, 0}, {4, 0}, {4, 4}, {0, 4}));
}
