// Percentiles and the timedemo report.
#include "frame/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(q * double(values.size()));
    const size_t index = rank < 1 ? 0 : size_t(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

BenchReport make_bench_report(const std::vector<double>& frameMs, const FramePhaseTimes& phaseMs, int32_t workers) {
    BenchReport r;
    r.workers = workers;
    r.frames = int64_t(frameMs.size());
    double totalMs = 0;
    for (const double ms : frameMs) totalMs += ms;
    r.wallSeconds = totalMs / 1000;
    r.framesPerSecond = r.wallSeconds > 0 ? double(r.frames) / r.wallSeconds : 0;
    r.medianMs = percentile(frameMs, 0.5);
    r.p95Ms = percentile(frameMs, 0.95);
    r.p99Ms = percentile(frameMs, 0.99);
    r.phaseMs = phaseMs;
    return r;
}

namespace {

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
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
    const FramePhaseTimes& t = r.phaseMs;
    const int64_t n = r.frames;
    std::string s;
    s += format("machine:     %s, %d cores\n", r.cpuModel.c_str(), r.cores);
    s += format("workers:     %d\n", r.workers);
    s += format("frames:      %lld\n", static_cast<long long>(n));
    s += format("wall time:   %.3f s\n", r.wallSeconds);
    s += format("frames/s:    %.1f\n", r.framesPerSecond);
    s += format("frame time:  median %.2f ms, 95th percentile %.2f ms, 99th percentile %.2f ms\n", r.medianMs, r.p95Ms,
                r.p99Ms);
    s += format("per frame:   render %.2f ms, overlays %.2f ms, show %.2f ms, present %.2f ms, motion %.2f ms\n",
                per_frame(t.render, n), per_frame(t.overlays, n), per_frame(t.show, n), per_frame(t.present, n),
                per_frame(t.motion, n));
    return s;
}

std::string bench_report_json(const BenchReport& r) {
    const FramePhaseTimes& t = r.phaseMs;
    const int64_t n = r.frames;
    std::string s = "{\"cpu\": " + json_string(r.cpuModel);
    s += format(", \"cores\": %d, \"workers\": %d, \"frames\": %lld", r.cores, r.workers, static_cast<long long>(n));
    s += format(", \"wall_seconds\": %.6f, \"frames_per_second\": %.3f", r.wallSeconds, r.framesPerSecond);
    s += format(", \"median_ms\": %.4f, \"p95_ms\": %.4f, \"p99_ms\": %.4f", r.medianMs, r.p95Ms, r.p99Ms);
    s += format(", \"phase_ms_per_frame\": {\"render\": %.4f, \"overlays\": %.4f, \"show\": %.4f, \"present\": %.4f, "
                "\"motion\": %.4f}",
                per_frame(t.render, n), per_frame(t.overlays, n), per_frame(t.show, n), per_frame(t.present, n),
                per_frame(t.motion, n));
    return s + "}\n";
}
