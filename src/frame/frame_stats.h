// Timing figures of a timedemo run: frame-time percentiles and phase totals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/frame_loop.h"

struct BenchReport {
    std::string cpuModel;
    int32_t cores = 0;
    int32_t workers = 0;
    int64_t frames = 0;
    double wallSeconds = 0;
    double framesPerSecond = 0;
    double medianMs = 0;
    double p95Ms = 0;
    double p99Ms = 0;
    FramePhaseTimes phaseTotals;  // seconds over the whole run
};

// The q-quantile (0..1) of the values by the nearest-rank rule; 0 for none.
double percentile(std::vector<double> values, double q);

BenchReport make_bench_report(const std::vector<double>& frameSeconds, const FramePhaseTimes& totals,
                              double wallSeconds, int32_t workers);

std::string bench_report_text(const BenchReport& report);
std::string bench_report_json(const BenchReport& report);
