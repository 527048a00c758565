// The script of the demo: steps 0 to 37, run once a frame with the clock.
#pragma once

#include <cstdint>

struct Camera;
struct WorldGrid;

struct ShowState {
    int32_t step;
    int32_t substep;
    double stepStartMs;       // 0: not started
    double elapsed;           // seconds on the step clock
    double previousElapsed;
    double distanceWalked;
};

extern ShowState TheShow;

// The last step: the endless spin and hops, which the show keeps once there.
constexpr int32_t FinaleStep = 37;

// Advances the script; may turn, walk and hop the camera, move HorizonOffset,
// draw into the terminal screen and play sounds.
void run_show(ShowState& show, Camera& camera, const WorldGrid& world, double nowMs);

// Walks the camera and plays a footstep every 1 / 1.3 units.
void show_walk(ShowState& show, Camera& camera, double distance);
