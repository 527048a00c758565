// The viewer: position, eye height, direction and camera plane, and the
// state of its vertical motion. The show turns, walks and hops it; the frame
// loop lets it fall, follow the ground and climb.
#pragma once

#include <cstdint>

struct WorldGrid;

struct Camera {
    double x = 3.5;
    double y = 2.5;
    double z = 0.5;        // eye height; the feet are at z - EyeHeight
    double renderZ = 1.5;  // the eye height the renderer and the show read
    double dirX = -1;
    double dirY = 0;
    double planeX = 0;
    double planeY = 0.66;
    double heading = 0;    // radians; turning right makes it grow
    double fallSpeed = 0;  // positive downwards
    int32_t onGround = 0;
};

constexpr double EyeHeight = 0.5;
constexpr double BodyRadius = 0.15;
constexpr double TerminalFallSpeed = 10;

extern Camera TheCamera;

// Rows added to every projected row; the eye projects to ScreenHeight + HorizonOffset.
extern int32_t HorizonOffset;

// Both return fmod(heading + 2000 pi, 2 pi) after the turn.
double turn_camera(Camera& camera, double angle);
double turn_camera_back(Camera& camera, double angle);
void walk_camera(Camera& camera, double distance);
void jump_camera(Camera& camera, const WorldGrid& world);
// One frame of gravity, ground following and head collision; s = 2 x frame time.
void fall_step(Camera& camera, const WorldGrid& world, double s);

// Direction and plane for a heading, by the camera's invariant.
void set_camera_heading(Camera& camera, double heading);
