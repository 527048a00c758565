// The pose picture.
#include "frame/pose.h"

#include <cstdio>

#include "camera/camera.h"
#include "frame/frame_loop.h"
#include "frame/overlay.h"
#include "frame/worker_pool.h"
#include "platform/platform.h"
#include "render/render.h"
#include "world/world.h"

int run_pose(const PoseRequest& pose, const std::string& outDir, int32_t workers) {
    std::string error;
    if (!build_scene(&error)) {
        std::fprintf(stderr, "quorvalite: the world is not sound: %s\n", error.c_str());
        return 1;
    }
    TheCamera.x = pose.x;
    TheCamera.y = pose.y;
    TheCamera.z = pose.z;
    TheCamera.renderZ = pose.z;
    set_camera_heading(TheCamera, pose.heading);
    HorizonOffset = pose.horizon;

    // The two clock readings of a first frame give its rate display.
    const double startTime = read_clock();
    WorkerPool* const pool = start_workers(workers, render_frame_tile);
    render_view(pool);
    stop_workers(pool);
    draw_minimap(TheWorld);
    const double time = read_clock();
    RateDisplay rate;
    draw_hud(update_rate(rate, (time - startTime) / 1000), TheCamera);

    const std::string path = outDir + "/pose.png";
    if (!write_png(path, FrameBuffer, ScreenWidth, ScreenHeight, ScreenWidth, false, &error)) {
        std::fprintf(stderr, "quorvalite: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
