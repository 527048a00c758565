// The camera's motion: turns, walking, the jump and the per-frame fall step
// with ground following, climbing and head collision.
#include "camera/camera.h"

#include <cmath>

#include "camera/queries.h"
#include "content/pi.h"

Camera TheCamera;
int32_t HorizonOffset = 0;

namespace {

constexpr double TwoThousandPi = 2000 * Pi;
constexpr double TwoPi = 2 * Pi;
constexpr double GroundTolerance = 0.01;
constexpr double FallScale = 0.25;
constexpr double ClimbRate = 5;
constexpr double WorldCeiling = 999;
constexpr double JumpWindow = 0.2;
constexpr double JumpSpeed = -6.5;
constexpr double CeilingBounceSpeed = 0.1;

// The largest fall step taken in one frame (a frame time of 0.1 s). Up to it
// the speed relaxes towards the terminal speed without overshooting and a
// climb closes at most the whole gap; a longer frame (a stall, a dragged
// window) moves the camera as if it had lasted 0.1 s.
constexpr double MaxFallStep = 0.2;

// Rotates (x, y) by the angle whose cosine and sine are c and s.
void rotate(double& x, double& y, double c, double s) {
    const double oldX = x;
    x = c * oldX + s * y;
    y = -s * oldX + c * y;
}

double heading_in_turn(const Camera& camera) { return std::fmod(camera.heading + TwoThousandPi, TwoPi); }

}  // namespace

double turn_camera(Camera& camera, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    rotate(camera.dirX, camera.dirY, c, s);
    rotate(camera.planeX, camera.planeY, c, s);
    camera.heading += angle;
    return heading_in_turn(camera);
}

double turn_camera_back(Camera& camera, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    rotate(camera.dirX, camera.dirY, c, -s);
    rotate(camera.planeX, camera.planeY, c, -s);
    camera.heading -= angle;
    return heading_in_turn(camera);
}

void walk_camera(Camera& camera, double distance) {
    camera.x += camera.dirX * distance;
    camera.y += camera.dirY * distance;
}

void jump_camera(Camera& camera, const WorldGrid& world) {
    const double g = ground_height(world, camera.x, camera.y, BodyRadius, camera.renderZ);
    const double gap = g - (camera.z - EyeHeight);
    if (-JumpWindow < gap && gap < JumpWindow) {
        camera.onGround = 0;
        camera.fallSpeed = JumpSpeed;
    }
}

void fall_step(Camera& camera, const WorldGrid& world, double s) {
    if (!(s > 0)) s = 0;  // also a NaN frame time
    if (s > MaxFallStep) s = MaxFallStep;
    const double z0 = camera.z;
    const double g = ground_height(world, camera.x, camera.y, BodyRadius, camera.renderZ);

    // Falling freely, or rising in a jump.
    if (camera.z - EyeHeight > g || camera.fallSpeed < 0) {
        camera.fallSpeed = (1 - s) * camera.fallSpeed + TerminalFallSpeed * s;
        const double gap = g - (camera.z - EyeHeight);
        if (-GroundTolerance < gap && gap < GroundTolerance && camera.fallSpeed >= 0) {
            camera.z = g + EyeHeight;  // lands
        } else {
            camera.onGround = 0;
            const double d = camera.fallSpeed * s * FallScale;
            camera.z = z0 - d;
            if (g > camera.z - EyeHeight) camera.z = g + EyeHeight;
            if (camera.z + 0.5 * EyeHeight > WorldCeiling) {
                camera.fallSpeed = CeilingBounceSpeed;
                camera.z = camera.z + d;
            }
        }
    }

    // Ground above the feet: stop, and snap or climb onto it.
    if (g > camera.z - EyeHeight) {
        camera.fallSpeed = 0;
        const double depth = g - (camera.z - EyeHeight);
        if (depth < GroundTolerance) {
            camera.z = g + EyeHeight;
        } else {
            camera.onGround = 1;
            camera.z = camera.z + ClimbRate * s * depth;
        }
    }

    if (camera.z == z0 && camera.onGround == 0) camera.onGround = 1;

    // A head in a solid shape undoes this frame's vertical move.
    if (head_blocked(world, camera.x, camera.y, camera.z)) {
        camera.z = z0;
        if (camera.onGround == 0) camera.fallSpeed = 0;
    }
}

void set_camera_heading(Camera& camera, double heading) {
    camera.heading = heading;
    camera.dirX = -std::cos(heading);
    camera.dirY = std::sin(heading);
    camera.planeX = 0.66 * std::sin(heading);
    camera.planeY = 0.66 * std::cos(heading);
}
