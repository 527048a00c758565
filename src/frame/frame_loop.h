// The main loop: builds content, world and workers, then runs frames.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct FrameTimes;
struct Progress;
struct SoundImage;
struct TileScratch;
struct WorkerPool;

// Wall-clock milliseconds spent in each phase, summed over the frames run.
struct FramePhaseTimes {
    double render = 0;   // the workers' render phase
    double overlays = 0; // minimap and HUD
    double show = 0;     // run_show
    double present = 0;  // service_messages, including the present
    double motion = 0;   // renderZ, fall_step, heading wrap
};

// Optional per-frame hooks; every pointer may be null.
struct FrameHooks {
    void* context = nullptr;
    // After each present, with the frame number (1-based) and the presented
    // pixels (null when the run does not render); returning false ends the
    // run with exit code 1.
    bool (*afterPresent)(void* context, int64_t frame, const uint32_t* pixels) = nullptr;
    // For each sound cue, in the frame in which the show issued it.
    void (*soundCue)(void* context, int64_t frame, const SoundImage* sound) = nullptr;
};

// The show's last step, which it keeps for the rest of the run.
constexpr int32_t FinaleStep = 37;

// What a run did, for the caller.
struct FrameLoopReport {
    int64_t frames = 0;      // frames run
    int64_t finaleFrame = 0; // the frame in which the finale began; 0: not reached
};

struct FrameLoopOptions {
    int64_t maxFrames = 0;      // 0: run until ESC or quit
    std::FILE* trace = nullptr; // one line per frame and per sound cue
    int32_t workers = 8;
    FrameHooks hooks;
    FramePhaseTimes* phaseTimes = nullptr; // when set, the phases are timed
    // False: no render phase, minimap or HUD, so a run only advances the show
    // and the camera (which never look at pixels), for counting frames and
    // collecting cues quickly.
    bool render = true;
    // 0 or more: end the run (exit code 0) this many frames after the frame
    // in which the show reached FinaleStep; -1: no such end.
    int64_t framesAfterFinale = -1;
    FrameLoopReport* report = nullptr; // when set, filled in as the run goes
    FrameTimes* frameTimes = nullptr;  // when set, each frame's wall-clock time is added
    // When set, advanced after each frame, outside the frame's timing; its
    // line is ended before the loop prints a failure.
    Progress* progress = nullptr;
};

// Returns the process exit code.
int run_frames(const FrameLoopOptions& options);

// Plays the show from its start without rendering, on the headless backend
// at fps frames a second (which it opens and closes), and returns how many
// frames run up to framesAfterFinale frames after the one in which the
// finale begins. Returns 0, having said why on stderr, when the finale does
// not begin within searchSeconds of show time. The scene is reset before and
// after, so that the next run_frames plays the show afresh.
int64_t count_show_frames(int32_t fps, int64_t framesAfterFinale, int64_t searchSeconds);

// Builds the textures and the world and checks the world; false with a
// message in *error when the world is broken.
bool build_scene(std::string* error);

// Empties the world and the texture table and puts the show, the camera and
// the horizon back to their state at load, so that the next run_frames plays
// the show afresh, exactly as the first.
void reset_scene();

// The render phase: clears every cell's visited flag, then lets the workers
// draw the whole view.
void render_view(WorkerPool* pool);

// What the render workers run for each tile: the view of TheCamera and
// HorizonOffset over TheWorld, into the FrameBuffer.
void render_frame_tile(int32_t tile, TileScratch& scratch);

// The clock as the loop uses it: the low 32 bits of now_ms as an unsigned
// number, converted to double.
double read_clock();
