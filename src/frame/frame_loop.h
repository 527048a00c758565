// The frame loop as a service to its drivers: start_frames builds what the
// frames need, run_frame runs one frame, end_frames takes it down again. The
// drivers (the window, a headless run, a capture, the timedemo) call
// run_frame once a frame and decide from its report when to stop; the loop
// itself knows nothing of files, encoders, statistics or the command line.
#pragma once

#include <cstdint>
#include <string>

#include "camera/camera.h"
#include "frame/overlay.h"
#include "show/show.h"
#include "world/world.h"

struct WorkerPool;

// What the frame loop works on: the process's records (a test may point
// these at its own) and the loop's own state.
struct FrameState {
    WorldGrid* world = &TheWorld;
    Camera* camera = &TheCamera;
    ShowState* show = &TheShow;
    int32_t* horizon = &HorizonOffset;
    WorkerPool* pool = nullptr; // null: frames without a render phase or overlays
    int64_t frame = 0;          // frames run so far
    RateDisplay rate;
    double previousTime = 0; // the clock in the previous frame, ms
};

// What one frame tells its driver.
struct FrameReport {
    int64_t frame = 0;   // the frame just run, 1-based
    double timeMs = 0;   // the clock value the show ran with
    bool quit = false;   // ESC is down or the window was closed: the run ends here
    SoundCues cues;      // the sounds the show started in this frame, in order
};

// Builds the textures and the world, checks the world, starts workers
// render workers (0: none, for frames that only advance the show and the
// camera), reads the clock and parks the cursor. False with a message in
// *error when the world is not sound.
bool start_frames(FrameState& state, int32_t workers, std::string* error);

// The clock as the loop reads it: the low 32 bits of now_ms as an unsigned
// number, converted to double.
double read_clock();

// One frame: render_phase, then finish_frame.
FrameReport run_frame(FrameState& state);

// The two phases of a frame, for the timedemo to time apart. The render
// phase: every cell's visited flag cleared, the workers draw the view.
void render_phase(FrameState& state);
// The frame thread's phase: minimap, clock, show, frame rate, HUD, present,
// keys, and unless the run ends here the camera's motion.
FrameReport finish_frame(FrameState& state);

// Stops the workers and puts the world, the textures, the show, the camera
// and the horizon back to their state at load, so that the next start_frames
// plays the show afresh, exactly as the first.
void end_frames(FrameState& state);
