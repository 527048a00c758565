// The timedemo run and its report.
#include "frame/bench.h"

#include <string>

#include "frame/capture.h"
#include "frame/frame_loop.h"
#include "frame/frame_stats.h"
#include "frame/progress.h"
#include "platform/platform.h"

int run_bench(const BenchRequest& request) {
    // Without N, a quick pass without rendering finds the frame in which the
    // finale begins, so the progress line knows the total.
    const int64_t frames = request.frames > 0 ? request.frames : count_show_frames(BenchFps, 0, FinaleSearchSeconds);
    if (frames == 0) return 1;
    HeadlessOptions headless;
    headless.fps = BenchFps;
    std::string error;
    if (!platform_open_headless(headless, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    FramePhaseTimes phases;
    FrameTimes frameTimes;
    Progress progress = start_terminal_progress(stderr, stderr_is_terminal(), frames);
    FrameLoopOptions options;
    options.workers = request.workers;
    options.trace = request.trace;
    options.phaseTimes = &phases;
    options.frameTimes = &frameTimes;
    options.progress = &progress;
    options.maxFrames = frames;
    const int code = run_frames(options);
    platform_close();
    if (code != 0) return code;
    finish_progress(progress, frameTimes.frames);
    BenchReport figures = make_bench_report(frameTimes, phases, request.workers);
    figures.cpuModel = cpu_model_name();
    figures.cores = cpu_core_count();
    const std::string text = request.json ? bench_report_json(figures) : bench_report_text(figures);
    std::fputs(text.c_str(), stdout);
    return 0;
}
