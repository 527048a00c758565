// One picture of the world from a given camera pose, without the show.
#pragma once

#include <cstdint>
#include <string>

// A camera pose for a single rendered picture.
struct PoseRequest {
    double x = 0;
    double y = 0;
    double z = 0;
    double heading = 0;
    int32_t horizon = 0;
};

// On the headless backend at fps frames a second (which it opens and
// closes): builds content and world, places the camera, renders one view
// with the workers, lays the minimap and the HUD over it as in a first
// frame and writes outDir/pose.png. Returns the process exit code.
int run_pose(const PoseRequest& pose, int32_t fps, const std::string& outDir);
