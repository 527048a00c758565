#include "frame/headless_run.h"

#include <algorithm>
#include <string>
#include <vector>

#include "frame/capture.h"
#include "frame/frame_loop.h"
#include "frame/progress.h"

namespace {

int64_t last_dumped_frame(const std::vector<FrameRange>& dump) {
    int64_t last = 0;
    for (const FrameRange& range : dump) last = std::max(last, range.last);
    return last;
}

// The frames the run plays; 0 when the show did not reach its finale. Ending
// at the finale takes a quick pass without rendering to count the frames,
// which also gives the progress line its total.
int64_t frames_to_run(const HeadlessRequest& request) {
    if (request.frames > 0) return request.frames;
    const int64_t lastDumped = last_dumped_frame(request.options.dump);
    if (lastDumped > 0) return lastDumped;
    const int32_t fps = request.options.fps;
    return count_show_frames(fps, HeadlessFinaleSeconds * fps, FinaleSearchSeconds);
}

} // namespace

int run_headless(const HeadlessRequest& request) {
    const int64_t frames = frames_to_run(request);
    if (frames == 0) return 1;
    std::string error;
    if (!platform_open_headless(request.options, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    Progress progress = start_terminal_progress(stderr, stderr_is_terminal(), frames);
    FrameLoopOptions options;
    options.maxFrames = frames;
    options.trace = request.trace;
    options.progress = &progress;
    const int code = run_frames(options);
    platform_close();
    if (code == 0) finish_progress(progress, frames);
    return code;
}
