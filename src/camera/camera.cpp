// Placeholder until the camera lands.
#include "camera/camera.h"

Camera TheCamera;
int32_t HorizonOffset = 0;

double turn_camera(Camera&, double) { return 0; }
double turn_camera_back(Camera&, double) { return 0; }
void walk_camera(Camera&, double) {}
void jump_camera(Camera&, const WorldGrid&) {}
void fall_step(Camera&, const WorldGrid&, double) {}
void set_camera_heading(Camera&, double) {}
