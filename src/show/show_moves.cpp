// The show's movements: walking with footsteps, turning towards a heading,
// moving the horizon; and the step clock they share.
#include <algorithm>
#include <cmath>

#include "camera/camera.h"
#include "content/texture.h"
#include "show/show_steps.h"
#include "show/sounds.h"

void show_walk(ShowState& show, Camera& camera, double distance, SoundCues& cues) {
    walk_camera(camera, distance);
    const double before = show.distanceWalked;
    const double after = before + distance;
    show.distanceWalked = after;
    // A footstep every 1 / 1.3 units; which foot depends on the whole units walked.
    if (std::floor(1.3 * after) != std::floor(1.3 * before)) {
        const bool even = std::fmod(std::floor(after), 2.0) == 0;
        add_cue(cues, even ? FootstepA : FootstepB);
    }
}

void restart_clock(ShowState& show, double nowMs) {
    show.elapsed = 0;
    show.stepStartMs = nowMs;
}

bool turn_right_towards(Camera& camera, double target, double step) {
    turn_camera(camera, step);
    const double heading = turn_camera(camera, step);
    return std::fabs(heading - target) < TurnWindow;
}

bool turn_left_towards(Camera& camera, double target, double step) {
    turn_camera_back(camera, step);
    const double heading = turn_camera_back(camera, step);
    return std::fabs(heading - target) < TurnWindow;
}

int32_t horizon_rows(double rate, double dt) {
    constexpr double MostRows = 100.0 * 1080;
    const double rows = std::trunc(rate * dt);
    if (!(rows > 1.0)) return 1;  // also a NaN
    return int32_t(std::min(rows, MostRows));
}

uint32_t* terminal_screen() {
    const Texture* screen = get_shaded_texture(&TextureTable[TerminalScreen], ScreenShade);
    if (!screen || !screen->pixels || screen->width != ScreenSize || screen->height != ScreenSize)
        return nullptr;
    return screen->pixels;
}
