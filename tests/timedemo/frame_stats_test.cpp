#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

#include "timedemo/frame_stats.h"

namespace {

FrameTimes frame_times(const std::vector<double>& ms) {
    FrameTimes times;
    for (const double t : ms) add_frame_time(times, t);
    return times;
}

// The nearest-rank percentile of the exact values, for comparison.
double exact_percentile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(q * double(values.size()));
    return values[size_t(std::max(rank, 1.0)) - 1];
}

} // namespace

// Percentiles by nearest rank, not interpolation, the smallest value for
// q = 0 and 0 with no frames. The histogram keeps one fixed size however
// many frames it counts, and its percentiles stay within 1 us of the exact
// ones below 16.4 ms, 2 us below 32.8 ms and 1/8192 of the time above, up
// to frames of hours.
TEST(FrameStats, HistogramPercentilesByNearestRankStayCloseToTheExactOnes) {
    for (const auto& [q, expected] : {std::pair{0.0, 3.0}, {0.5, 3.0}, {0.51, 7.0}})
        EXPECT_DOUBLE_EQ(frame_time_percentile(frame_times({7, 3}), q), expected) << q;
    EXPECT_EQ(frame_time_percentile(FrameTimes{}, 0.5), 0);
    std::mt19937_64 random(7);
    for (const double scale : {1.0, 10.0, 30.0, 1000.0, 3.6e6}) {
        std::lognormal_distribution<double> spread(std::log(scale), 0.4);
        std::vector<double> ms;
        FrameTimes times;
        for (int i = 0; i < 20000; ++i) {
            ms.push_back(spread(random));
            add_frame_time(times, ms.back());
        }
        EXPECT_EQ(times.bins.size(), FrameTimeBinCount);
        for (const double q : {0.5, 0.95, 0.99}) {
            const double exact = exact_percentile(ms, q);
            const double allowedMs = exact < 16.384 ? 0.001 : exact < 32.768 ? 0.002 : exact / 8192;
            EXPECT_NEAR(frame_time_percentile(times, q), exact, allowedMs) << "scale " << scale << " q " << q;
        }
    }
    FrameTimes extremes = frame_times({-1, 0, 1e12});
    EXPECT_EQ(frame_time_percentile(extremes, 0.1), 0);
    EXPECT_NEAR(frame_time_percentile(extremes, 1), double(FrameTimeLimitUs) / 1000, double(FrameTimeLimitUs) / 8192e3);
}

TEST(FrameStats, ReportFiguresAndJson) {
    PhaseTimes phases;
    phases.render = 30;
    phases.frameThread = 3;
    BenchReport report = make_bench_report(frame_times({10, 20, 30}), phases, 4);
    report.cpuModel = "Test \"CPU\"\t1";
    EXPECT_EQ(report.frames, 3);
    EXPECT_DOUBLE_EQ(report.wallSeconds, 0.06);
    EXPECT_DOUBLE_EQ(report.framesPerSecond, 50);
    EXPECT_NEAR(report.medianMs, 20, 0.002);

    const std::string json = bench_report_json(report);
    EXPECT_NE(json.find("\"cpu\": \"Test \\\"CPU\\\"\\u00091\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"render\": 10.0000"), std::string::npos) << json; // per frame, in milliseconds
    EXPECT_NE(json.find("\"frame_thread\": 1.0000"), std::string::npos) << json;
    EXPECT_NE(bench_report_text(report).find("render phase 10.00 ms"), std::string::npos) << bench_report_text(report);
}
