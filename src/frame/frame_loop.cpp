// The frame loop: start-up, then the frame cycle of a render phase and a
// frame-thread phase (overlays, show, rate, HUD, present, keys, motion).
#include "frame/frame_loop.h"

#include <chrono>
#include <cmath>
#include <string>

#include "camera/camera.h"
#include "content/content.h"
#include "content/texture.h"
#include "frame/frame_stats.h"
#include "frame/overlay.h"
#include "frame/progress.h"
#include "frame/trace.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/show.h"
#include "world/builder.h"
#include "world/world.h"

namespace {

// The loop's own state; nothing of it is shared with the workers.
struct LoopState {
    int64_t frame = 0; // the frame being run, 1-based
    RateDisplay rate;
    double previousTime = 0;
    int64_t finaleFrame = 0; // the frame in which the show reached FinaleStep; 0: not yet
};

using WallClock = std::chrono::steady_clock;

// Adds the time since *mark to *total and moves the mark, when timing is on.
void lap(FramePhaseTimes* times, double FramePhaseTimes::* phase, WallClock::time_point* mark) {
    if (!times) return;
    const WallClock::time_point now = WallClock::now();
    times->*phase += std::chrono::duration<double, std::milli>(now - *mark).count();
    *mark = now;
}

void hand_out_cues(const FrameLoopOptions& options) {
    for (const SoundCue& cue : headless_take_cues()) {
        if (options.trace) write_trace_sound(options.trace, cue.frame, cue.sound->name);
        if (options.hooks.soundCue) options.hooks.soundCue(options.hooks.context, cue.frame, cue.sound);
    }
}

void trace_frame(const FrameLoopOptions& options, int64_t frame, double time) {
    if (!options.trace) return;
    write_trace_frame(options.trace, frame, time, TheShow, TheCamera, HorizonOffset);
    std::fflush(options.trace);
}

// One frame cycle; returns -1 to go on, otherwise the exit code.
int run_frame(LoopState& state, WorkerPool* pool, const FrameLoopOptions& options) {
    FramePhaseTimes* const times = options.phaseTimes;
    WallClock::time_point mark = times ? WallClock::now() : WallClock::time_point{};
    state.frame += 1;

    if (options.render) {
        render_view(pool);
        lap(times, &FramePhaseTimes::render, &mark);
        draw_minimap(TheWorld);
        lap(times, &FramePhaseTimes::overlays, &mark);
    }

    const double time = read_clock();
    SoundCues cues;
    run_show(TheShow, TheCamera, HorizonOffset, TheWorld, time, cues);
    for (int32_t i = 0; i < cues.count; ++i) play_sound(*cues.sounds[i]);
    hand_out_cues(options);
    if (state.finaleFrame == 0 && TheShow.step == FinaleStep) state.finaleFrame = state.frame;
    lap(times, &FramePhaseTimes::show, &mark);

    const double dt = (time - state.previousTime) / 1000;
    const int32_t shownRate = update_rate(state.rate, dt);
    if (options.render) {
        draw_hud(shownRate, TheCamera);
        lap(times, &FramePhaseTimes::overlays, &mark);
    }

    const bool quit = service_messages();
    lap(times, &FramePhaseTimes::present, &mark);
    std::string error;
    if (platform_failed(&error)) {
        if (options.progress) end_progress_line(*options.progress);
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    if (options.hooks.afterPresent &&
        !options.hooks.afterPresent(options.hooks.context, state.frame, options.render ? FrameBuffer : nullptr))
        return 1;

    rescale_rate(state.rate);
    if (KeyState[KeyEscape] != 0 || quit) {
        trace_frame(options, state.frame, time);
        return 0;
    }

    TheCamera.renderZ = TheCamera.z;
    fall_step(TheCamera, TheWorld, 2 * dt);
    TheCamera.heading = wrap_heading(TheCamera.heading);
    state.previousTime = time;
    lap(times, &FramePhaseTimes::motion, &mark);

    trace_frame(options, state.frame, time);
    if (options.maxFrames > 0 && state.frame >= options.maxFrames) return 0;
    if (options.framesAfterFinale >= 0 && state.finaleFrame > 0 &&
        state.frame >= state.finaleFrame + options.framesAfterFinale)
        return 0;
    return -1;
}

} // namespace

double read_clock() { return double(uint32_t(now_ms())); }

bool build_scene(std::string* error) {
    generate_content();
    build_world(TheWorld, TextureTable);
    return check_world(TheWorld, error);
}

void reset_scene() {
    clear_world(TheWorld);
    reset_texture_table();
    TheShow = ShowState{};
    TheCamera = Camera{};
    HorizonOffset = 0;
}

void render_view(WorkerPool* pool) {
    for (auto& column : TheWorld.cells)
        for (GridCell& cell : column) cell.visited = 0;
    run_render_phase(pool);
}

void render_frame_tile(int32_t tile, TileScratch& scratch) {
    render_tile(tile, TheWorld, make_view(TheCamera, HorizonOffset), scratch, FrameBuffer);
}

int run_frames(const FrameLoopOptions& options) {
    std::string error;
    if (!build_scene(&error)) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        return 1;
    }
    WorkerPool* const pool = options.render ? start_workers(options.workers, render_frame_tile) : nullptr;
    LoopState state;
    state.previousTime = read_clock();
    place_cursor();

    int code = -1;
    while (code < 0) {
        const WallClock::time_point start = options.frameTimes ? WallClock::now() : WallClock::time_point{};
        code = run_frame(state, pool, options);
        if (options.frameTimes)
            add_frame_time(*options.frameTimes,
                           std::chrono::duration<double, std::milli>(WallClock::now() - start).count());
        if (options.report) *options.report = FrameLoopReport{state.frame, state.finaleFrame};
        if (options.progress && code < 0) report_progress(*options.progress, state.frame);
    }
    stop_workers(pool);
    return code;
}

int64_t count_show_frames(int32_t fps, int64_t framesAfterFinale, int64_t searchSeconds) {
    reset_scene();
    HeadlessOptions headless;
    headless.fps = fps;
    std::string error;
    if (!platform_open_headless(headless, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 0;
    }
    FrameLoopOptions options;
    options.render = false;
    options.framesAfterFinale = framesAfterFinale;
    options.maxFrames = searchSeconds * fps + framesAfterFinale;
    FrameLoopReport report;
    options.report = &report;
    const int code = run_frames(options);
    platform_close();
    reset_scene();
    if (code != 0) return 0;
    if (report.finaleFrame == 0 || report.frames != report.finaleFrame + framesAfterFinale) {
        std::fprintf(stderr, "quorvalite: the show did not reach its finale within %lld s\n",
                     static_cast<long long>(searchSeconds));
        return 0;
    }
    return report.frames;
}
