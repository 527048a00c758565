// The sound track of a capture: the show's cues mixed into one mono PCM track
// at a single sample rate. Each cue starts at the first sample of the frame in
// which the show issued it and cuts off the sound before it, as play_sound
// does on screen; the rest is silence.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/headless_play.h"

constexpr int32_t SoundTrackRate = 48000;

struct SoundTrack {
    int32_t sampleRate = SoundTrackRate;
    std::vector<int16_t> samples; // mono
};

// The first sample of frame `frame` (1-based) at `fps` frames a second:
// frame 1 starts at sample 0.
int64_t frame_sample_offset(int64_t frame, int32_t fps, int32_t sampleRate);

// The track of frameCount frames, as long as those frames exactly, from the
// cues in the order issued (frames never decreasing); cues outside the frames
// are left out. The sounds are converted to the track's rate. False with a
// message when a sound cannot be decoded or the track does not fit in memory.
bool mix_sound_track(const std::vector<SoundCue>& cues, int64_t frameCount, int32_t fps, SoundTrack* track,
                     std::string* error);

// Writes the track as a canonical 16-bit mono WAV file, whole or not at all.
bool write_wav_file(const std::string& path, const SoundTrack& track, std::string* error);
