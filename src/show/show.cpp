// The script: one row per step, run by run_show once a frame.
#include "show/show.h"

#include "camera/camera.h"
#include "show/show_steps.h"
#include "show/sounds.h"
#include "show/tunnel.h"

ShowState TheShow;

namespace {

enum class StepKind { Start, TurnRight, TurnLeft, Walk, HorizonDown, Pause, DirScene, Tunnel, AboutScene, Finale };

// Where a walk ends: the camera's x or y beyond the row's bound.
enum class Until { None, XAbove, XBelow, YAbove, YBelow };

struct StepRow {
    StepKind kind;
    double target;        // turns: heading; walks: bound; horizon: limit; pauses: seconds
    double rate;          // turns: k (two turns of k x dt a call); horizon: rows a second
    Until until;          // walks only
    double raiseRate;     // rows a second the horizon rises while below raiseLimit; 0: none
    int32_t raiseLimit;
    bool clearsSubstep;   // substep = 0 when the step advances
};

using K = StepKind;
using U = Until;

// Indexed by step number.
constexpr StepRow Steps[] = {
    /* 0 */ {K::Start, 0, 0, U::None, 0, 0, false},
    /* 1 */ {K::TurnRight, Pi / 2, 1 / 1.5, U::None, 0, 0, false},
    /* 2 */ {K::Walk, 12, 0, U::YAbove, 0, 0, false},
    /* 3 */ {K::TurnRight, Pi, 1 / 1.5, U::None, 0, 0, false},
    /* 4 */ {K::HorizonDown, -1000, 500, U::None, 0, 0, false},
    /* 5 */ {K::TurnLeft, Pi / 2, 1 / 5.0, U::None, 0, 0, false},
    /* 6 */ {K::TurnRight, 5 * Pi / 4, 1 / 5.0, U::None, 200, -500, false},
    /* 7 */ {K::Walk, 5, 0, U::XAbove, 0, 0, false},
    /* 8 */ {K::TurnRight, 3 * Pi / 2, 1 / 5.0, U::None, 0, 0, false},
    /* 9 */ {K::Walk, 4.8, 0, U::YBelow, 0, 0, false},
    /* 10 */ {K::TurnLeft, 3 * Pi / 4, 0.5, U::None, 0, 0, false},
    /* 11 */ {K::Pause, 3, 0, U::None, 0, 0, false},
    /* 12 */ {K::TurnRight, 3 * Pi / 2, 0.5, U::None, 0, 0, false},
    /* 13 */ {K::Walk, 3.4, 0, U::YBelow, 0, 0, false},
    /* 14 */ {K::TurnLeft, Pi, 0.5, U::None, 0, 0, false},
    /* 15 */ {K::Walk, 6.5, 0, U::XAbove, 0, 0, false},
    /* 16 */ {K::TurnLeft, 0.65 * Pi, 0.5, U::None, 0, 0, false},
    /* 17 */ {K::Walk, 7.6, 0, U::XAbove, 0, 0, false},
    /* 18 */ {K::TurnRight, Pi, 0.5, U::None, 0, 0, false},
    /* 19 */ {K::Walk, 8.5, 0, U::XAbove, 0, 0, false},
    /* 20 */ {K::TurnRight, 3 * Pi / 2, 0.5, U::None, 0, 0, false},
    /* 21 */ {K::Walk, 2.8, 0, U::YBelow, 0, 0, false},
    /* 22 */ {K::TurnLeft, 1.05 * Pi, 0.5, U::None, 0, 0, false},
    /* 23 */ {K::HorizonDown, -750, 500, U::None, 0, 0, false},
    /* 24 */ {K::Walk, 9.2, 0, U::XAbove, 0, 0, true},
    /* 25 */ {K::DirScene, 0, 0, U::None, 0, 0, false},
    /* 26 */ {K::Tunnel, 0, 0, U::None, 0, 0, false},
    /* 27 */ {K::AboutScene, 0, 0, U::None, 0, 0, false},
    /* 28 */ {K::TurnLeft, Pi / 2, 1 / 1.5, U::None, 0, 0, false},
    /* 29 */ {K::Walk, 5.5, 0, U::YAbove, 0, 0, false},
    /* 30 */ {K::TurnRight, Pi, 1 / 1.5, U::None, 0, 0, false},
    /* 31 */ {K::Walk, 10.5, 0, U::XAbove, 0, 0, false},
    /* 32 */ {K::TurnRight, 3 * Pi / 2, 1 / 1.5, U::None, 0, 0, false},
    /* 33 */ {K::Walk, 3.5, 0, U::YBelow, 0, 0, false},
    /* 34 */ {K::TurnRight, 0, 1 / 1.5, U::None, 0, 0, false},
    /* 35 */ {K::Walk, 3.4, 0, U::XBelow, 300, -400, true},
    /* 36 */ {K::Pause, 4, 0, U::None, 0, 0, false},
    /* 37 */ {K::Finale, 0, 0, U::None, 0, 0, false},
};
static_assert(sizeof(Steps) / sizeof(Steps[0]) == 38);

// Step 12 is tested before step 11, so the turn after the pause begins on
// the next call; every other step hands over within the same call.
constexpr int32_t TestingOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 11,
                                    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
                                    26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37};

constexpr double WalkSpeed = 1.5;
constexpr int32_t StartHorizon = -400;
constexpr double FinaleTurnRate = 0.25;

bool walk_ended(const Camera& camera, Until until, double bound) {
    switch (until) {
        case Until::XAbove: return camera.x > bound;
        case Until::XBelow: return camera.x < bound;
        case Until::YAbove: return camera.y > bound;
        case Until::YBelow: return camera.y < bound;
        case Until::None: break;
    }
    return false;
}

// Turn, walk and horizon steps: dt is the time since the previous call, as
// the clock restarts at the end of every call.
void run_movement(ShowState& show, Camera& camera, int32_t& horizon, const StepRow& row, double nowMs,
                  SoundCues& cues) {
    const double dt = show.elapsed;
    if (row.raiseRate > 0 && horizon < row.raiseLimit) horizon += horizon_rows(row.raiseRate, dt);
    bool done = false;
    switch (row.kind) {
        case StepKind::TurnRight: done = turn_right_towards(camera, row.target, row.rate * dt); break;
        case StepKind::TurnLeft: done = turn_left_towards(camera, row.target, row.rate * dt); break;
        case StepKind::Walk:
            show_walk(show, camera, WalkSpeed * dt, cues);
            done = walk_ended(camera, row.until, row.target);
            break;
        case StepKind::HorizonDown:
            horizon -= horizon_rows(row.rate, dt);
            done = horizon < row.target;
            break;
        default: break;
    }
    restart_clock(show, nowMs);
    if (done) {
        ++show.step;
        if (row.clearsSubstep) show.substep = 0;
    }
}

// Spins slowly and hops without end, with a thump at each landing. A hop
// that starts while the camera is not already rising is a landing: the feet
// have come down to within reach of the floor. (The next hop usually catches
// the camera a little above the floor, so its eye seldom rests exactly at the
// standing height; that alone would leave all hops but the first silent.)
void run_finale(ShowState& show, Camera& camera, const WorldGrid& world, double nowMs, SoundCues& cues) {
    if (show.substep == 0) {
        const double dt = show.elapsed;
        turn_camera(camera, FinaleTurnRate * dt);
        turn_camera(camera, FinaleTurnRate * dt);
        const bool wasRising = camera.fallSpeed < 0;
        jump_camera(camera, world);
        if (!wasRising && camera.fallSpeed < 0) add_cue(cues, FootstepA);
    }
    restart_clock(show, nowMs);
}

void run_step(ShowState& show, Camera& camera, int32_t& horizon, const WorldGrid& world, double nowMs,
              SoundCues& cues) {
    const StepRow& row = Steps[show.step];
    switch (row.kind) {
        case StepKind::Start:
            horizon = StartHorizon;
            fill_tunnel_tables();
            restart_clock(show, nowMs);
            show.step = 1;
            break;
        case StepKind::Pause:
            if (show.elapsed > row.target) {
                ++show.step;
                restart_clock(show, nowMs);
            }
            break;
        case StepKind::DirScene: run_dir_scene(show, terminal_screen(), nowMs, cues); break;
        case StepKind::Tunnel: run_tunnel_step(show, camera, terminal_screen(), nowMs, cues); break;
        case StepKind::AboutScene: run_about_scene(show, terminal_screen(), nowMs, cues); break;
        case StepKind::Finale: run_finale(show, camera, world, nowMs, cues); break;
        default: run_movement(show, camera, horizon, row, nowMs, cues); break;
    }
}

}  // namespace

void run_show(ShowState& show, Camera& camera, int32_t& horizon, const WorldGrid& world, double nowMs,
              SoundCues& cues) {
    if (show.stepStartMs == 0) show.stepStartMs = nowMs;
    show.elapsed = (nowMs - show.stepStartMs) / 1000;
    for (const int32_t number : TestingOrder)
        if (show.step == number) run_step(show, camera, horizon, world, nowMs, cues);
}
