// What SDL's disk audio driver recorded, read back: the sounds in it, each
// recognised as one of the program's sound images; and the sound cues and
// frame lines of a trace with their times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// The format the program asks of its sound device, which the disk driver
// records as it is: 48 kHz, two channels, signed 16-bit samples.
constexpr int32_t RecordedRate = 48000;
constexpr int32_t RecordedChannels = 2;

constexpr int32_t RecordedFrameBytes = RecordedChannels * 2;

// One sound heard: the sample frame where it starts sounding in the recording, which
// image it is ("" for none), and for how many frames the recording follows
// that image exactly (to its end, or to where the next cue cut it off).
struct HeardSound {
    int64_t frame;
    std::string name;
    int64_t frames;
};

// The sounds in the recording, in order, each recognised by its samples: a
// device opened in the asked format plays the images as the program decodes
// them, sample for sample.
std::vector<HeardSound> sounds_in_recording(const std::vector<int16_t>& samples,
                                            const std::vector<const SoundImage*>& images);

std::vector<int16_t> read_recording(const std::string& path);

// One "sound J NAME" line of a trace at the time of frame J's line.
struct TracedCue {
    double seconds;
    std::string name;
};

std::vector<TracedCue> cues_in_trace(const std::string& trace);

// One "frame J time T ..." line: T in seconds, and the offset in the trace
// just past the line's end.
struct TracedFrame {
    double seconds;
    int64_t end;
};
std::vector<TracedFrame> frames_in_trace(const std::string& trace);
// The time of the last frame line, in seconds; 0 when there is none.
double last_frame_seconds(const std::string& trace);
