// Playing the show headless: time comes from the frame stream alone, so the
// same settings give the same frames, cues and trace on every run. The
// drivers of a headless run, a capture and the timedemo share these pieces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/frame_loop.h"

struct SoundImage;

// How far a play looks for the finale before it gives up: an hour of show time.
constexpr int64_t FinaleSearchSeconds = 3600;

// A sound cue and the frame the show issued it in.
struct SoundCue {
    int64_t frame;
    const SoundImage* sound;
};

// Where a play ends: after exactly `frames` frames when that is more than 0,
// otherwise `framesAfterFinale` frames after the one in which the finale began.
struct PlayLength {
    int64_t frames = 0;
    int64_t framesAfterFinale = 0;
};

// Runs frame state.frame + 1 with the virtual clock set to it.
FrameReport run_headless_frame(FrameState& state);

// Whether the play ends with this frame; *finaleFrame (0 at first) records
// the frame in which the finale began.
bool play_ends(const PlayLength& length, const FrameState& state, int64_t* finaleFrame);

// Plays the show on the headless backend at fps frames a second without
// rendering (the show and the camera never look at pixels): the quick way to
// learn how many frames a play of that length has, and its cues. False with a
// message when the finale does not begin within FinaleSearchSeconds.
bool measure_play(int32_t fps, const PlayLength& length, int64_t* frames, std::vector<SoundCue>* cues,
                  std::string* error);
