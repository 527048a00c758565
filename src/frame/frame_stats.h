// Timing figures of a timedemo run: frame-time percentiles and the time spent
// in each phase, as text and as one JSON object.
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
    double wallSeconds = 0; // the frames' wall-clock time, start-up left out
    double framesPerSecond = 0;
    double medianMs = 0;
    double p95Ms = 0;
    double p99Ms = 0;
    FramePhaseTimes phaseMs; // milliseconds over the whole run
};

// The q-quantile (0..1) of the values by the nearest-rank rule: the smallest
// value with at least a fraction q of all values at or below it; 0 for none.
double percentile(std::vector<double> values, double q);

// The figures of a run from each frame's wall-clock milliseconds and the
// phase totals; the machine's name and core count are left to the caller.
BenchReport make_bench_report(const std::vector<double>& frameMs, const FramePhaseTimes& phaseMs, int32_t workers);

std::string bench_report_text(const BenchReport& report);
std::string bench_report_json(const BenchReport& report);
