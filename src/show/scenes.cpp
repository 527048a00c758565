// The scenes at the desk: the DIR listing typed on the terminal screen, the
// tunnel program running on it, then ABOUT and the credits page.
#include "camera/camera.h"
#include "content/font.h"
#include "show/show_steps.h"
#include "show/sounds.h"
#include "show/tunnel.h"

namespace {

struct ScreenText {
    const char* text;
    int32_t x, y;
};

// Fires once when the step clock passes `after` and substep equals the row's
// index: draws its lines and clicks.
struct TypingRow {
    double after;
    ScreenText lines[8];  // ends at the first null text
};

// The leading spaces draw nothing: each letter lands in the next character
// cell after the 9-character prompt "C:\DEMOS\".
constexpr TypingRow DirRows[] = {
    {0.5, {{"         D", 2, 2}}},
    {0.8, {{"          I", 2, 2}}},
    {1.4, {{"           R", 2, 2}}},
    {1.6, {{"TUNEL.EXE", 2, 12}, {"FIRE.EXE", 2, 24}, {"ABOUT.EXE", 2, 36}, {"C:\\DEMOS\\", 2, 48}}},
    {2.0, {{"         T", 2, 48}}},
    {2.2, {{"          U", 2, 48}}},
    {2.3, {{"           N", 2, 48}}},
    {2.5, {{"            E", 2, 48}}},
    {2.7, {{"             L", 2, 48}}},
    {3.0,
     {{"WOW! Advanced graphics!", 2, 60},
      {"Fresh and crispy, ", 2, 72},
      {"never seen before!", 2, 84},
      {"Press [ENTER]", 2, 96}}},
};

constexpr TypingRow AboutRows[] = {
    {0.5, {{"         A", 2, 2}}},
    {0.8, {{"          B", 2, 2}}},
    {1.4, {{"           O", 2, 2}}},
    {1.6, {{"            U", 2, 2}}},
    {1.7, {{"             T", 2, 2}}},
    {2.0,
     {{"Quorvalite by Pelkin", 2, 24},
      {"Fully software raycasting", 2, 48},
      {"* Without Z-Buffer", 2, 60},
      {"* Multithreaded", 2, 72},
      {"* Texture mipmapping", 2, 84},
      {"it's more fun to compute!", 2, 118},
      {"2019 - 2022", 2, 130},
      {"Made for Marvolia 2022", 2, 170}}},
};

constexpr double DirSceneSeconds = 7;
constexpr double AboutSceneSeconds = 6;
constexpr double TunnelSeconds = 8;
constexpr double TunnelFirstTurnAfter = 2;
constexpr double TunnelSecondTurnAfter = 3;
constexpr double TunnelTurnRate = 0.5;
constexpr double TunnelFirstHeading = Pi / 2;
constexpr double TunnelSecondHeading = 1.07 * Pi;
constexpr uint32_t BlankScreen = 0x010101;

// Runs, in order, every row whose time has passed and whose index is the
// substep; after a slow frame several rows fire in one call.
template <size_t N>
void type_rows(ShowState& show, uint32_t* screen, const TypingRow (&rows)[N], SoundCues& cues) {
    for (size_t r = 0; r < N; ++r) {
        if (!(show.elapsed > rows[r].after) || show.substep != int32_t(r)) continue;
        if (screen)
            for (const ScreenText& line : rows[r].lines) {
                if (!line.text) break;
                draw_text_on_image(screen, ScreenSize, line.text, line.x, line.y);
            }
        add_cue(cues, KeyClick);
        ++show.substep;
    }
}

}  // namespace

void run_dir_scene(ShowState& show, uint32_t* screen, double nowMs, SoundCues& cues) {
    type_rows(show, screen, DirRows, cues);
    if (show.elapsed > DirSceneSeconds) {
        add_cue(cues, KeyClick);
        show.step = 26;
        show.substep = 0;
        show.previousElapsed = show.elapsed;
        restart_clock(show, nowMs);
    }
}

void run_tunnel_step(ShowState& show, Camera& camera, uint32_t* screen, double nowMs, SoundCues& cues) {
    // The step clock runs through the scene; the frame time is its increase.
    const double dt = show.elapsed - show.previousElapsed;
    if (show.substep == 0 && show.elapsed > TunnelFirstTurnAfter &&
        turn_left_towards(camera, TunnelFirstHeading, TunnelTurnRate * dt))
        show.substep = 1;
    if (show.substep == 1 && show.elapsed > TunnelSecondTurnAfter &&
        turn_right_towards(camera, TunnelSecondHeading, TunnelTurnRate * dt))
        show.substep = 2;
    show.previousElapsed = show.elapsed;

    if (screen) draw_tunnel(screen, show.elapsed);

    if (show.substep == 2 && show.elapsed > TunnelSeconds) {
        if (screen) {
            for (int32_t t = 0; t < ScreenSize * ScreenSize; ++t) screen[t] = BlankScreen;
            draw_text_on_image(screen, ScreenSize, "C:\\DEMOS\\", 2, 2);
        }
        show.step = 27;
        restart_clock(show, nowMs);
        show.substep = 0;
        add_cue(cues, KeyClick);
    }
}

void run_about_scene(ShowState& show, uint32_t* screen, double nowMs, SoundCues& cues) {
    type_rows(show, screen, AboutRows, cues);
    if (show.elapsed > AboutSceneSeconds) {
        show.step = 28;
        restart_clock(show, nowMs);
    }
}
