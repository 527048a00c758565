// The frame cycle: a render phase in which only the workers draw, then the
// frame thread's phase (overlays, show, rate, HUD, present, keys, motion).
#include "frame/frame_loop.h"

#include "content/content.h"
#include "content/texture.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "world/builder.h"

double read_clock() { return double(uint32_t(now_ms())); }

bool start_frames(FrameState& state, int32_t workers, std::string* error) {
    generate_content();
    build_world(*state.world, TextureTable);
    if (!check_world(*state.world, error)) return false;
    state.pool = workers > 0 ? start_workers(workers) : nullptr;
    state.frame = 0;
    state.rate = RateDisplay{};
    state.previousTime = read_clock();
    place_cursor();
    return true;
}

void render_phase(FrameState& state) {
    if (!state.pool) return;
    for (auto& column : state.world->cells)
        for (GridCell& cell : column) cell.visited = 0;
    const RenderJob job{state.world, make_view(*state.camera, *state.horizon), FrameBuffer};
    run_render_phase(state.pool, job);
}

FrameReport finish_frame(FrameState& state) {
    FrameReport report;
    report.frame = ++state.frame;
    const bool overlays = state.pool != nullptr;
    if (overlays) draw_minimap(FrameBuffer, *state.world);

    report.timeMs = read_clock();
    run_show(*state.show, *state.camera, *state.horizon, *state.world, report.timeMs, report.cues);
    for (const SoundImage* sound : report.cues) play_sound(*sound);

    const double dt = (report.timeMs - state.previousTime) / 1000;
    const int32_t shownRate = update_rate(state.rate, dt);
    if (overlays) draw_hud(FrameBuffer, shownRate, *state.camera);

    const bool closed = service_messages();
    rescale_rate(state.rate);
    report.quit = KeyState[KeyEscape] != 0 || closed;
    if (report.quit) return report;

    Camera& camera = *state.camera;
    camera.renderZ = camera.z;
    fall_step(camera, *state.world, 2 * dt);
    camera.heading = wrap_heading(camera.heading);
    state.previousTime = report.timeMs;
    return report;
}

FrameReport run_frame(FrameState& state) {
    render_phase(state);
    return finish_frame(state);
}

void end_frames(FrameState& state) {
    stop_workers(state.pool);
    state.pool = nullptr;
    clear_world(*state.world);
    reset_texture_table();
    *state.show = ShowState{};
    *state.camera = Camera{};
    *state.horizon = 0;
}
