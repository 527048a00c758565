#include <gtest/gtest.h>

#include <cmath>

#include "camera/camera.h"
#include "camera/queries.h"
#include "test_shapes.h"

namespace {

constexpr double Frame = 2.0 / 60;  // the step at 60 frames a second

struct CameraTest : ::testing::Test {
    WorldGrid grid{};
    Camera camera{};

    void SetUp() override {
        add_level_ground(grid, 3, 8, 3, 8, -2);
        camera.x = 5.3;
        camera.y = 5.5;
        camera.z = -1.5;
    }
    void TearDown() override { clear_world(grid); }

    // One frame as the frame loop runs it.
    void step(double s = Frame) {
        camera.renderZ = camera.z;
        fall_step(camera, grid, s);
    }
};

TEST_F(CameraTest, StandsStillSnapsFromJustAboveAndClimbsWithoutOvershoot) {
    step();
    EXPECT_EQ(camera.z, -1.5);
    EXPECT_EQ(camera.onGround, 1);
    EXPECT_EQ(camera.fallSpeed, 0);
    camera.z = -1.495;
    step();
    EXPECT_EQ(camera.z, -1.5);
    EXPECT_DOUBLE_EQ(camera.fallSpeed, TerminalFallSpeed * Frame);  // kept: a later fall starts from it

    add_box(grid, 5, 5, 0.5, 0, 1, 1, -2, -1.75);
    camera.x = 5.7;
    int32_t frames = 0;
    for (; camera.z != -1.25 && frames < 60; ++frames) {
        step();
        ASSERT_LE(camera.z, -1.25);
    }
    EXPECT_GT(frames, 5);  // smoothly, then a snap onto the step
    EXPECT_EQ(camera.z, -1.25);
    EXPECT_EQ(camera.onGround, 1);
}

TEST_F(CameraTest, JumpsOnlyFromTheGroundAndAHitCeilingStopsTheRise) {
    camera.z = camera.renderZ = -1.2;  // feet 0.3 above the ground
    jump_camera(camera, grid);
    EXPECT_EQ(camera.fallSpeed, 0);

    add_box(grid, 5, 5, 0, 0, 1, 1, -1.2, -1.1);  // just above the resting head box
    camera.z = camera.renderZ = -1.5;
    jump_camera(camera, grid);
    EXPECT_EQ(camera.fallSpeed, -6.5);
    EXPECT_EQ(camera.onGround, 0);
    double highest = camera.z;
    for (int32_t i = 0; i < 120; ++i) {
        step();
        ASSERT_FALSE(head_blocked(grid, camera.x, camera.y, camera.z)) << i;
        highest = std::max(highest, camera.z);
    }
    EXPECT_GT(highest, -1.5);
    EXPECT_EQ(camera.z, -1.5);
    EXPECT_EQ(camera.onGround, 1);
}

// Over no floor the camera falls for ever at no more than terminal speed; a
// stalled frame moves no further than a tenth of a second, and a step that is
// negative or not a number moves nothing.
TEST_F(CameraTest, FallStepsAreBounded) {
    camera.x = 12.5;
    for (int32_t i = 0; i < 300; ++i) {
        const double before = camera.z;
        step();
        ASSERT_LT(camera.z, before);
        ASSERT_LE(before - camera.z, TerminalFallSpeed * Frame * 0.25);
    }
    EXPECT_NEAR(camera.fallSpeed, TerminalFallSpeed, 0.01);

    camera.fallSpeed = -6.5;  // in a jump
    camera.renderZ = camera.z;
    Camera reference = camera;
    fall_step(reference, grid, 0.2);
    for (const double s : {2.0, double(INFINITY), -1.0, double(NAN)}) {
        Camera stalled = camera;
        fall_step(stalled, grid, s);
        const Camera& expected = s > 0 ? reference : camera;
        EXPECT_EQ(stalled.z, expected.z) << s;
        EXPECT_EQ(stalled.fallSpeed, expected.fallSpeed) << s;
    }
    // A climb after a stall ends on the step, not above it.
    add_box(grid, 5, 5, 0.5, 0, 1, 1, -2, -1.75);
    camera = Camera{};
    camera.x = 5.7, camera.y = 5.5, camera.z = -1.5;
    step(1.0);
    EXPECT_EQ(camera.z, -1.25);
}

}  // namespace
