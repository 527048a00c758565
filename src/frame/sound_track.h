// The sound track of a capture: the show's cues mixed into one PCM track at
// a single sample rate, each cue starting at the first sample of the frame in
// which the show issued it and cutting off the one before, as on screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

constexpr int32_t SoundTrackRate = 48000;

struct SoundTrack {
    int32_t sampleRate = SoundTrackRate;
    std::vector<int16_t> samples;  // mono
};

// Sample offset at which frame `frame` (1-based) begins at `fps` frames a second.
int64_t frame_sample_offset(int64_t frame, int32_t fps, int32_t sampleRate);

// Resamples mono 16-bit samples from one rate to another by linear interpolation.
std::vector<int16_t> resample_linear(const std::vector<int16_t>& samples, int32_t fromRate, int32_t toRate);

// Mixes the cues of frameCount frames; false with a message when a sound cannot be decoded.
bool mix_sound_track(const std::vector<SoundCue>& cues, int64_t frameCount, int32_t fps, SoundTrack* track,
                     std::string* error);

// Writes the track as a canonical 16-bit mono WAV file, under a temporary name
// renamed when complete.
bool write_wav_file(const std::string& path, const SoundTrack& track, std::string* error);
