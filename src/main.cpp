// Placeholder until the command line lands.
#include "frame/frame_loop.h"

int main() { return run_frames(FrameLoopOptions{}); }
