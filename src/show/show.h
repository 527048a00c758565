// The script of the demo: steps 0 to 37, run once a frame with the clock.
#pragma once

#include <cstdint>

struct Camera;
struct SoundImage;
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

// The sound cues one call of the show issues, in order, for the caller to
// play. The script issues at most eleven in one call (a stalled frame that
// types the whole listing at once); a cue beyond Capacity is not kept but
// counted in dropped.
struct SoundCues {
    static constexpr int32_t Capacity = 16;
    const SoundImage* sounds[Capacity] = {};
    int32_t count = 0;
    int32_t dropped = 0;
    const SoundImage* const* begin() const { return sounds; }
    const SoundImage* const* end() const { return sounds + count; }
};

// Appends sound to cues, or counts it as dropped when they are full.
void add_cue(SoundCues& cues, const SoundImage& sound);

// Advances the script: may turn, walk and hop the camera, move the horizon
// offset, draw into the terminal screen texture and append sound cues.
void run_show(ShowState& show, Camera& camera, int32_t& horizon, const WorldGrid& world, double nowMs,
              SoundCues& cues);

// Walks the camera and issues a footstep every 1 / 1.3 units.
void show_walk(ShowState& show, Camera& camera, double distance, SoundCues& cues);
