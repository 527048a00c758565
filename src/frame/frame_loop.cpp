// Placeholder until the frame loop lands.
#include "frame/frame_loop.h"

int run_frames(const FrameLoopOptions&) { return 0; }
