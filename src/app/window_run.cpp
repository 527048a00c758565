#include "app/window_run.h"

#include <string>

#include "frame/frame_loop.h"
#include "frame/trace.h"
#include "frame/worker_pool.h"

int run_window(int64_t frames, std::FILE* trace) {
    std::string error;
    FrameState state;
    if (!start_frames(state, WorkerCount, &error)) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        end_frames(state);
        return 1;
    }
    for (;;) {
        const FrameReport report = run_frame(state);
        if (trace) write_trace(trace, report, state);
        if (report.quit || (frames > 0 && report.frame >= frames)) break;
    }
    end_frames(state);
    return 0;
}
