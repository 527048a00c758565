#include <gtest/gtest.h>

#include "camera/queries.h"

namespace {

const Rect Box{1, 1, 2, 3};

TEST(Overlap, PointInTriangleIsClosedInEitherWinding) {
    const Point2 a{0, 0}, b{2, 0}, c{0, 2};
    for (const Point2 p : {Point2{1, 1}, Point2{0, 0}, Point2{1, 0}, Point2{0.5, 0.5}}) {
        EXPECT_TRUE(point_in_triangle(p, a, b, c)) << p.x << ", " << p.y;
        EXPECT_TRUE(point_in_triangle(p, a, c, b)) << p.x << ", " << p.y;
    }
    EXPECT_FALSE(point_in_triangle({1.01, 1}, a, b, c));
    EXPECT_FALSE(point_in_triangle({-0.01, 1}, a, c, b));
    // A triangle squashed onto a segment holds only the segment's points.
    EXPECT_TRUE(point_in_triangle({1, 1}, a, a, {2, 2}));
    EXPECT_FALSE(point_in_triangle({1, 1.01}, a, a, {2, 2}));
}

TEST(Overlap, SegmentsTouchingTheBoundaryOverlap) {
    // Parallel to an axis: on the edge, just outside, and spanning the whole rectangle.
    EXPECT_TRUE(segment_overlaps_rect(Box, {2, 0}, {2, 1}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {2.001, 0}, {2.001, 5}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {1.5, 5}, {1.5, 0}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {1.5, 3.01}, {1.5, 5}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {0, 3}, {1, 3}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {5, 2}, {0, 2}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {0, 2}, {0.99, 2}));
    // Oblique: through a corner only, across, and passing beside.
    EXPECT_TRUE(segment_overlaps_rect(Box, {0, 2}, {1, 3}));
    EXPECT_TRUE(segment_overlaps_rect(Box, {0, 4}, {3, 0}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {0, 1}, {1, 0}));
    EXPECT_FALSE(segment_overlaps_rect(Box, {0, 0.5}, {0.9, 1.4}));
}

TEST(Overlap, TrianglesAndQuadsAgainstRectangles) {
    // The rectangle inside a large triangle, a small triangle inside the rectangle,
    // one that touches at a corner only, and one beside it.
    EXPECT_TRUE(triangle_overlaps_rect(Box, {-10, -10}, {10, -10}, {0, 20}));
    EXPECT_TRUE(triangle_overlaps_rect(Box, {1.2, 1.2}, {1.8, 1.2}, {1.5, 2}));
    EXPECT_TRUE(triangle_overlaps_rect(Box, {2, 3}, {4, 3}, {4, 5}));
    EXPECT_FALSE(triangle_overlaps_rect(Box, {2.1, 3}, {4, 3}, {4, 5}));
    // Edges crossing the rectangle with every corner outside.
    EXPECT_TRUE(triangle_overlaps_rect(Box, {0, 2}, {3, 2.1}, {0, 2.2}));
    // A flat quad (a level face seen from the side) lying along the rectangle's top edge.
    EXPECT_TRUE(quad_overlaps_rect(Box, {0, 3}, {0, 3}, {5, 3}, {5, 3}));
    EXPECT_FALSE(quad_overlaps_rect(Box, {0, 3.001}, {0, 3.001}, {5, 3.001}, {5, 3.001}));
    // A rectangle inside the square's triangle (c, d, a) only.
    EXPECT_TRUE(quad_overlaps_rect(Rect{0.1, 2, 0.4, 3}, {0, 0}, {4, 0}, {4, 4}, {0, 4}));
    EXPECT_FALSE(quad_overlaps_rect(Rect{4.1, 2, 4.4, 3}, {0, 0}, {4, 0}, {4, 4}, {0, 4}));
}

}  // namespace
