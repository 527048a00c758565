#include <gtest/gtest.h>

#include <regex>

#include "frame/frame_stats.h"

TEST(FrameStats, PercentilesByNearestRank) {
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i); // unsorted on purpose
    EXPECT_EQ(percentile(hundred, 0.95), 95);
    EXPECT_EQ(percentile(hundred, 0.0), 1);
    EXPECT_EQ(percentile({7, 3}, 0.5), 3);
    EXPECT_EQ(percentile({7, 3}, 0.51), 7);
    EXPECT_EQ(percentile({}, 0.5), 0);
}

TEST(FrameStats, ReportFiguresAndJson) {
    FramePhaseTimes phases;
    phases.render = 30;
    phases.show = 3;
    BenchReport report = make_bench_report({10, 20, 30}, phases, 4);
    report.cpuModel = "Test \"CPU\"\t1";
    EXPECT_EQ(report.frames, 3);
    EXPECT_DOUBLE_EQ(report.wallSeconds, 0.06);
    EXPECT_DOUBLE_EQ(report.framesPerSecond, 50);
    EXPECT_EQ(report.medianMs, 20);

    const std::string json = bench_report_json(report);
    EXPECT_NE(json.find("\"cpu\": \"Test \\\"CPU\\\"\\u00091\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"render\": 10.0000"), std::string::npos) << json; // per frame, in milliseconds
    EXPECT_NE(json.find("\"show\": 1.0000"), std::string::npos) << json;
    EXPECT_NE(bench_report_text(report).find("render 10.00 ms"), std::string::npos) << bench_report_text(report);
}
