// The trace: one line per frame with the clock, the show's step and the
// camera, and one line per sound cue, for checking a run line by line.
#pragma once

#include <cstdint>
#include <cstdio>

struct FrameReport;
struct FrameState;

// For the frame just run: "sound J NAME" for each cue the show issued in it,
// then "frame J time T step S substep U x X y Y z Z renderZ R heading H
// fallSpeed V onGround G horizon O", the doubles with %.17g so that they read
// back exactly. Flushed, so that a run that is stopped keeps its lines.
void write_trace(std::FILE* trace, const FrameReport& report, const FrameState& state);
