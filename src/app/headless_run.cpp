#include "app/headless_run.h"

#include <algorithm>
#include <cinttypes>

#include "frame/headless_play.h"
#include "frame/trace.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "system/progress.h"
#include "system/system.h"

namespace {

bool in_ranges(const std::vector<FrameRange>& ranges, int64_t frame) {
    for (const FrameRange& range : ranges)
        if (frame >= range.first && frame <= range.last) return true;
    return false;
}

// The frames the run plays; 0 (having said why) when the show did not reach
// its finale. Ending at the finale takes a quick pass without rendering to
// count the frames, which also gives the progress line its total.
int64_t frames_to_run(const HeadlessRequest& request) {
    if (request.frames > 0) return request.frames;
    int64_t lastDumped = 0;
    for (const FrameRange& range : request.dump) lastDumped = std::max(lastDumped, range.last);
    if (lastDumped > 0) return lastDumped;
    int64_t frames = 0;
    std::string error;
    if (measure_play(request.fps, PlayLength{0, HeadlessFinaleSeconds * request.fps}, &frames, nullptr, &error))
        return frames;
    std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
    return 0;
}

bool dump_frame(const HeadlessRequest& request, int64_t frame, std::string* error) {
    if (!in_ranges(request.dump, frame)) return true;
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06" PRId64 ".png", frame);
    return write_png(request.outDir + name, FrameBuffer, ScreenWidth, ScreenHeight, ScreenWidth, false, error);
}

// The frames themselves, on an open headless backend; the exit code.
int play(const HeadlessRequest& request, int64_t frames) {
    std::string error;
    FrameState state;
    if (!start_frames(state, WorkerCount, &error)) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        return 1;
    }
    Progress progress = start_terminal_progress(stderr, stderr_is_terminal(), frames);
    int code = 0;
    while (state.frame < frames) {
        const FrameReport report = run_headless_frame(state);
        if (!dump_frame(request, report.frame, &error)) {
            end_progress_line(progress);
            std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
            code = 1;
            break;
        }
        if (request.trace) write_trace(request.trace, report, state);
        report_progress(progress, report.frame);
    }
    if (code == 0) finish_progress(progress, state.frame);
    end_frames(state);
    return code;
}

} // namespace

int run_headless(const HeadlessRequest& request) {
    const int64_t frames = frames_to_run(request);
    if (frames == 0) return 1;
    std::string error;
    if (!platform_open_headless(request.fps, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    const int code = play(request, frames);
    platform_close();
    return code;
}
