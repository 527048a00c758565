// Percentiles and the timedemo report.
#include "timedemo/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

// The bin of t microseconds: t itself below 2^FrameTimeFineBits; above, with
// t in [2^(FrameTimeFineBits - 1 + e), 2^(FrameTimeFineBits + e)), the bins
// are 2^e wide and there are 2^(FrameTimeFineBits - 1) of them.
size_t bin_of(int64_t t) {
    const int64_t fine = int64_t(1) << FrameTimeFineBits;
    if (t < fine) return size_t(t);
    int32_t e = 1;
    while (t >= fine << e) ++e;
    const int64_t half = fine / 2;
    return size_t(fine + (e - 1) * half + ((t >> e) - half));
}

// The middle of bin b (of the whole microseconds it holds) in milliseconds.
double bin_middle_ms(size_t b) {
    const int64_t fine = int64_t(1) << FrameTimeFineBits;
    if (int64_t(b) < fine) return double(b) / 1000;
    const int64_t half = fine / 2;
    const int64_t e = (int64_t(b) - fine) / half + 1;
    const int64_t low = ((int64_t(b) - fine) % half + half) << e;
    return (double(low) + double((int64_t(1) << e) - 1) / 2) / 1000;
}

} // namespace

void add_frame_time(FrameTimes& times, double ms) {
    const double us = std::round(ms * 1000);
    const int64_t t = us > 0 ? int64_t(std::min(us, double(FrameTimeLimitUs))) : 0;
    times.bins[bin_of(t)] += 1;
    times.frames += 1;
    times.totalMs += ms;
}

double frame_time_percentile(const FrameTimes& times, double q) {
    if (times.frames == 0) return 0;
    const double rank = std::ceil(q * double(times.frames));
    const uint64_t wanted = rank < 1 ? 1 : uint64_t(rank);
    uint64_t seen = 0;
    for (size_t b = 0; b < times.bins.size(); ++b) {
        seen += times.bins[b];
        if (seen >= wanted) return bin_middle_ms(b);
    }
    return bin_middle_ms(times.bins.size() - 1);
}

BenchReport make_bench_report(const FrameTimes& frameTimes, const PhaseTimes& phaseMs, int32_t workers) {
    BenchReport r;
    r.workers = workers;
    r.frames = frameTimes.frames;
    r.wallSeconds = frameTimes.totalMs / 1000;
    r.framesPerSecond = r.wallSeconds > 0 ? double(r.frames) / r.wallSeconds : 0;
    r.medianMs = frame_time_percentile(frameTimes, 0.5);
    r.p95Ms = frame_time_percentile(frameTimes, 0.95);
    r.p99Ms = frame_time_percentile(frameTimes, 0.99);
    r.phaseMs = phaseMs;
    return r;
}

namespace {

// printf into a string; the compiler checks each pattern against its values.
[[gnu::format(printf, 1, 2)]] std::string format(const char* pattern, ...) {
    char buffer[512];
    va_list values;
    va_start(values, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, values);
    va_end(values);
    return buffer;
}

// A JSON string; control characters become \u escapes.
std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += format("\\u%04x", unsigned(static_cast<unsigned char>(c)));
        } else {
            out += c;
        }
    }
    return out + "\"";
}

double per_frame(double totalMs, int64_t frames) { return frames > 0 ? totalMs / double(frames) : 0; }

} // namespace

std::string bench_report_text(const BenchReport& r) {
    const PhaseTimes& t = r.phaseMs;
    const int64_t n = r.frames;
    std::string s;
    s += format("machine:     %s, %d cores\n", r.cpuModel.c_str(), r.cores);
    s += format("workers:     %d\n", r.workers);
    s += format("frames:      %lld\n", static_cast<long long>(n));
    s += format("wall time:   %.3f s\n", r.wallSeconds);
    s += format("frames/s:    %.1f\n", r.framesPerSecond);
    s += format("frame time:  median %.2f ms, 95th percentile %.2f ms, 99th percentile %.2f ms\n", r.medianMs, r.p95Ms,
                r.p99Ms);
    s += format("per frame:   render phase %.2f ms, frame thread's phase %.2f ms\n", per_frame(t.render, n),
                per_frame(t.frameThread, n));
    return s;
}

std::string bench_report_json(const BenchReport& r) {
    const PhaseTimes& t = r.phaseMs;
    const int64_t n = r.frames;
    std::string s = "{\"cpu\": " + json_string(r.cpuModel);
    s += format(", \"cores\": %d, \"workers\": %d, \"frames\": %lld", r.cores, r.workers, static_cast<long long>(n));
    s += format(", \"wall_seconds\": %.6f, \"frames_per_second\": %.3f", r.wallSeconds, r.framesPerSecond);
    s += format(", \"median_ms\": %.4f, \"p95_ms\": %.4f, \"p99_ms\": %.4f", r.medianMs, r.p95Ms, r.p99Ms);
    s += format(", \"phase_ms_per_frame\": {\"render\": %.4f, \"frame_thread\": %.4f}", per_frame(t.render, n),
                per_frame(t.frameThread, n));
    return s + "}\n";
}
