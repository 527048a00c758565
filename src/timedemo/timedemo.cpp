// The timedemo run: the frame loop's two phases timed with the wall clock,
// every frame, and the figures printed at the end.
#include "timedemo/timedemo.h"

#include <chrono>
#include <string>

#include "frame/headless_play.h"
#include "frame/trace.h"
#include "platform/platform.h"
#include "system/progress.h"
#include "system/system.h"
#include "timedemo/frame_stats.h"

namespace {

using WallClock = std::chrono::steady_clock;

double ms_between(WallClock::time_point from, WallClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The frames themselves, on an open headless backend; false with a message
// when the scene could not be built.
bool time_frames(const TimedemoRequest& request, int64_t frames, FrameTimes* frameTimes, PhaseTimes* phases,
                 std::string* error) {
    FrameState state;
    if (!start_frames(state, request.workers, error)) return false;
    Progress progress = start_terminal_progress(stderr, stderr_is_terminal(), frames);
    while (state.frame < frames) {
        set_virtual_frame(state.frame + 1);
        const WallClock::time_point start = WallClock::now();
        render_phase(state);
        const WallClock::time_point rendered = WallClock::now();
        const FrameReport report = finish_frame(state);
        const WallClock::time_point done = WallClock::now();
        phases->render += ms_between(start, rendered);
        phases->frameThread += ms_between(rendered, done);
        add_frame_time(*frameTimes, ms_between(start, done));
        if (request.trace) write_trace(request.trace, report, state);
        report_progress(progress, report.frame);
    }
    finish_progress(progress, state.frame);
    end_frames(state);
    return true;
}

} // namespace

int run_timedemo(const TimedemoRequest& request) {
    std::string error;
    // Without N, a quick pass without rendering finds the frame in which the
    // finale begins, so the progress line knows the total.
    int64_t frames = request.frames;
    if (frames == 0 && !measure_play(TimedemoFps, PlayLength{0, 0}, &frames, nullptr, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    if (!platform_open_headless(TimedemoFps, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    FrameTimes frameTimes;
    PhaseTimes phases;
    const bool timed = time_frames(request, frames, &frameTimes, &phases, &error);
    platform_close();
    if (!timed) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        return 1;
    }
    BenchReport figures = make_bench_report(frameTimes, phases, request.workers);
    figures.cpuModel = cpu_model_name();
    figures.cores = cpu_core_count();
    const std::string text = request.json ? bench_report_json(figures) : bench_report_text(figures);
    std::fputs(text.c_str(), stdout);
    return 0;
}
