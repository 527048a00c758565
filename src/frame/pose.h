// One picture of the world from a given camera pose, without the show.
#pragma once

#include <string>

#include "frame/command_line.h"

// Builds content and world, places the camera, renders one view with the
// workers, lays the minimap and the HUD over it as in a first frame and
// writes DIR/pose.png. Returns the process exit code.
int run_pose(const PoseRequest& pose, const std::string& outDir, int32_t workers);
