#include <gtest/gtest.h>

#include <cmath>

#include "app/command_line.h"

TEST(FrameList, NumbersAndInclusiveRanges) {
    std::vector<FrameRange> ranges;
    std::string error;
    ASSERT_TRUE(parse_frame_list("1,2,100-110,7-7", &ranges, &error)) << error;
    ASSERT_EQ(ranges.size(), 4u);
    EXPECT_EQ(ranges[2].first, 100);
    EXPECT_EQ(ranges[2].last, 110);
    EXPECT_EQ(ranges[3].first, 7);
    EXPECT_EQ(ranges[3].last, 7);
    for (const char* bad : {"", "0", "5-2", "1,,2", "a", "3-", "1-2-3", " 4", "99999999999999999999", "1000000000001",
                            "0x10", "0b1", "+5", "1e3"})
        EXPECT_FALSE(parse_frame_list(bad, &ranges, &error)) << '"' << bad << '"';
    // Leading zeros are decimal, however many.
    ASSERT_TRUE(parse_frame_list("010,000000000000000012", &ranges, &error)) << error;
    EXPECT_EQ(ranges[0].first, 10);
    EXPECT_EQ(ranges[1].first, 12);
}

TEST(Pose, FiveFiniteNumbersInsideTheGrid) {
    PoseRequest pose;
    std::string error;
    ASSERT_TRUE(parse_pose("3.5,2.5,0.5,1.25,-400", &pose, &error)) << error;
    EXPECT_EQ(pose.x, 3.5);
    EXPECT_EQ(pose.heading, 1.25);
    EXPECT_EQ(pose.horizon, -400);
    EXPECT_TRUE(parse_pose("1,30.999,-2,0,0", &pose, &error)) << error;
    // Subnormal numbers are finite, however close to zero.
    ASSERT_TRUE(parse_pose("3,3,1e-320,-4.9e-324,0", &pose, &error)) << error;
    EXPECT_EQ(pose.z, 1e-320);
    EXPECT_EQ(pose.heading, -4.9e-324);
    for (const char* bad : {"3.5,2.5,0.5,0", "3.5,2.5,0.5,0,0,0", "0.99,5,0,0,0", "5,31,0,0,0", "nan,5,0,0,0",
                            "5,5,0,1e999,0", "5,5,0,0,-400.5", "5,5,,0,0", "0x5,5,0,0,0"})
        EXPECT_FALSE(parse_pose(bad, &pose, &error)) << bad;
}
