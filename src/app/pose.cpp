// The pose picture: a first frame's render phase and overlays, without the
// show, from a camera placed by hand.
#include "app/pose.h"

#include <cstdio>

#include "frame/frame_loop.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "system/system.h"

namespace {

int draw_and_write(const PoseRequest& pose, const std::string& outDir) {
    std::string error;
    FrameState state;
    if (!start_frames(state, WorkerCount, &error)) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        return 1;
    }
    Camera& camera = *state.camera;
    camera.x = pose.x;
    camera.y = pose.y;
    camera.z = pose.z;
    camera.renderZ = pose.z;
    set_camera_heading(camera, pose.heading);
    *state.horizon = pose.horizon;

    // The clock readings at start-up and in frame 1 give the rate display.
    set_virtual_frame(1);
    render_phase(state);
    draw_minimap(FrameBuffer, *state.world);
    const double time = read_clock();
    draw_hud(FrameBuffer, update_rate(state.rate, (time - state.previousTime) / 1000), camera);
    end_frames(state);

    if (!write_png(outDir + "/pose.png", FrameBuffer, ScreenWidth, ScreenHeight, ScreenWidth, false, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int run_pose(const PoseRequest& pose, int32_t fps, const std::string& outDir) {
    std::string error;
    if (!platform_open_headless(fps, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    const int code = draw_and_write(pose, outDir);
    platform_close();
    return code;
}
