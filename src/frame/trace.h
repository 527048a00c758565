// The trace: one line per frame with the clock, the show's step and the
// camera, and one line per sound cue, for checking a run line by line.
#pragma once

#include <cstdint>
#include <cstdio>

struct Camera;
struct ShowState;

// "frame J time T step S substep U x X y Y z Z renderZ R heading H fallSpeed V
// onGround G horizon O", the doubles with %.17g so they read back exactly.
void write_trace_frame(std::FILE* trace, int64_t frame, double time, const ShowState& show, const Camera& camera,
                       int32_t horizon);

// "sound J NAME" for a cue issued in frame J.
void write_trace_sound(std::FILE* trace, int64_t frame, const char* name);
