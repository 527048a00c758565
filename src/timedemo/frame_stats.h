// Timing figures of a timedemo run: frame-time percentiles and the time spent
// in each phase, as text and as one JSON object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Wall-clock milliseconds spent in the two phases of a frame, summed over
// the frames run.
struct PhaseTimes {
    double render = 0;      // the workers' render phase
    double frameThread = 0; // overlays, show, present and motion
};

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
    PhaseTimes phaseMs; // milliseconds over the whole run
};

// Frame times in whole microseconds, kept as a histogram of one fixed size
// (800 KB) whatever the number of frames: bins 1 us wide below 8.192 ms, then
// twice as wide at each doubling of the time (2 us up to 16.4 ms, 4 us up to
// 32.8 ms, and so on). A percentile read from it is the middle of its bin:
// within 1 us of the exact figure below 16.4 ms, within 2 us below 32.8 ms,
// and never off by more than 1/8192 of the time. Times beyond
// FrameTimeLimitUs (about 19 hours) count as that.
constexpr int32_t FrameTimeFineBits = 13;
constexpr int32_t FrameTimeLimitBits = 36;
constexpr int64_t FrameTimeLimitUs = (int64_t(1) << FrameTimeLimitBits) - 1;
constexpr size_t FrameTimeBinCount =
    (size_t(1) << FrameTimeFineBits) +
    size_t(FrameTimeLimitBits - FrameTimeFineBits) * (size_t(1) << (FrameTimeFineBits - 1));

struct FrameTimes {
    std::vector<uint64_t> bins = std::vector<uint64_t>(FrameTimeBinCount);
    int64_t frames = 0;
    double totalMs = 0; // the exact sum, for the wall time and the rate
};

void add_frame_time(FrameTimes& times, double ms);

// The q-quantile (0..1) of the frame times in milliseconds by the
// nearest-rank rule: the smallest time with at least a fraction q of all
// frames at or below it; 0 for no frames.
double frame_time_percentile(const FrameTimes& times, double q);

// The figures of a run from its frame times and phase totals; the machine's
// name and core count are left to the caller.
BenchReport make_bench_report(const FrameTimes& frameTimes, const PhaseTimes& phaseMs, int32_t workers);

std::string bench_report_text(const BenchReport& report);
std::string bench_report_json(const BenchReport& report);
