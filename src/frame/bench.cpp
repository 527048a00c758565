// The timedemo run and its report.
#include "frame/bench.h"

#include <string>
#include <vector>

#include "frame/capture.h"
#include "frame/frame_loop.h"
#include "frame/frame_stats.h"
#include "platform/platform.h"

int run_bench(const BenchRequest& request) {
    HeadlessOptions headless;
    headless.fps = BenchFps;
    std::string error;
    if (!platform_open_headless(headless, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    FramePhaseTimes phases;
    std::vector<double> frameMs;
    FrameLoopReport report;
    FrameLoopOptions options;
    options.workers = request.workers;
    options.trace = request.trace;
    options.phaseTimes = &phases;
    options.frameMs = &frameMs;
    options.report = &report;
    if (request.frames > 0) {
        options.maxFrames = request.frames;
        frameMs.reserve(size_t(request.frames));
    } else {
        options.framesAfterFinale = 0;
        options.maxFrames = FinaleSearchSeconds * BenchFps;
    }
    const int code = run_frames(options);
    platform_close();
    if (code != 0) return code;
    if (request.frames == 0 && report.finaleFrame == 0) {
        std::fprintf(stderr, "quorvalite: the show did not reach its finale within %lld s\n",
                     static_cast<long long>(FinaleSearchSeconds));
        return 1;
    }
    BenchReport figures = make_bench_report(frameMs, phases, request.workers);
    figures.cpuModel = cpu_model_name();
    figures.cores = cpu_core_count();
    const std::string text = request.json ? bench_report_json(figures) : bench_report_text(figures);
    std::fputs(text.c_str(), stdout);
    return 0;
}
