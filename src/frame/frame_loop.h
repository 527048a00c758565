// The main loop: builds content, world and workers, then runs frames.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct SoundImage;
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
    // pixels; returning false ends the run with exit code 1.
    bool (*afterPresent)(void* context, int64_t frame, const uint32_t* pixels) = nullptr;
    // For each sound cue, in the frame in which the show issued it.
    void (*soundCue)(void* context, int64_t frame, const SoundImage* sound) = nullptr;
};

struct FrameLoopOptions {
    int64_t maxFrames = 0;      // 0: run until ESC or quit
    std::FILE* trace = nullptr; // one line per frame and per sound cue
    int32_t workers = 8;
    FrameHooks hooks;
    FramePhaseTimes* phaseTimes = nullptr; // when set, the phases are timed
};

// Returns the process exit code.
int run_frames(const FrameLoopOptions& options);

// Builds the textures and the world and checks the world; false with a
// message in *error when the world is broken.
bool build_scene(std::string* error);

// The render phase: clears every cell's visited flag, then lets the workers
// draw the whole view.
void render_view(WorkerPool* pool);

// The clock as the loop uses it: the low 32 bits of now_ms as an unsigned
// number, converted to double.
double read_clock();
