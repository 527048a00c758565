#include "frame/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/platform_services.h"

double percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank: the smallest value with at least q of all values at or below it.
    const double rank = std::ceil(q * double(values.size()));
    const size_t index = rank < 1 ? 0 : size_t(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

BenchReport make_bench_report(const std::vector<double>& frameSeconds, const FramePhaseTimes& totals,
                              double wallSeconds, int32_t workers) {
    BenchReport r;
    r.cpuModel = cpu_model_name();
    r.cores = cpu_core_count();
    r.workers = workers;
    r.frames = int64_t(frameSeconds.size());
    r.wallSeconds = wallSeconds;
    r.framesPerSecond = wallSeconds > 0 ? double(r.frames) / wallSeconds : 0;
    r.medianMs = percentile(frameSeconds, 0.5) * 1000;
    r.p95Ms = percentile(frameSeconds, 0.95) * 1000;
    r.p99Ms = percentile(frameSeconds, 0.99) * 1000;
    r.phaseTotals = totals;
    return r;
}

namespace {

std::string format(const char* pattern, auto... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
    return out + "\"";
}

double per_frame_ms(double totalSeconds, int64_t frames) { return frames > 0 ? totalSeconds * 1000 / double(frames) : 0; }

} // namespace

std::string bench_report_text(const BenchReport& r) {
    const FramePhaseTimes& t = r.phaseTotals;
    std::string s;
    s += format("machine:      %s, %d cores\n", r.cpuModel.c_str(), r.cores);
    s += format("workers:      %d\n", r.workers);
    s += format("frames:       %lld\n", static_cast<long long>(r.frames));
    s += format("wall time:    %.3f s\n", r.wallSeconds);
    s += format("frames/s:     %.1f\n", r.framesPerSecond);
    s += format("frame time:   median %.2f ms, 95th %.2f ms, 99th %.2f ms\n", r.medianMs, r.p95Ms, r.p99Ms);
    s += format("per frame:    render %.2f ms, overlays %.2f ms, show %.2f ms, present %.2f ms\n",
                per_frame_ms(t.render, r.frames), per_frame_ms(t.overlays, r.frames), per_frame_ms(t.show, r.frames),
                per_frame_ms(t.present, r.frames));
    return s;
}

std::string bench_report_json(const BenchReport& r) {
    const FramePhaseTimes& t = r.phaseTotals;
    std::string s = "{";
    s += "\"cpu\": " + json_string(r.cpuModel);
    s += format(", \"cores\": %d, \"workers\": %d, \"frames\": %lld", r.cores, r.workers,
                static_cast<long long>(r.frames));
    s += format(", \"wall_seconds\": %.6f, \"frames_per_second\": %.3f", r.wallSeconds, r.framesPerSecond);
    s += format(", \"median_ms\": %.4f, \"p95_ms\": %.4f, \"p99_ms\": %.4f", r.medianMs, r.p95Ms, r.p99Ms);
    s += format(", \"phase_ms_per_frame\": {\"render\": %.4f, \"overlays\": %.4f, \"show\": %.4f, \"present\": %.4f}",
                per_frame_ms(t.render, r.frames), per_frame_ms(t.overlays, r.frames), per_frame_ms(t.show, r.frames),
                per_frame_ms(t.present, r.frames));
    s += "}\n";
    return s;
}
