// What a listener hears from the window: SDL's disk audio driver records the
// device's output, and the footsteps must be in it, in the order of their
// cues in the trace, each in the first buffer the device took after its cue.
#include <gtest/gtest.h>

#include <chrono>

#include "file_growth.h"
#include "recorded_sound.h"
#include "show/sounds.h"
#include "virtual_screen.h"

namespace {

using Clock = FileGrowth::Clock;

constexpr int FootstepsToHear = 3;
// The first footsteps come a few seconds into the show, later at a low frame rate.
constexpr int ShowTimeoutMs = 45000;
// Time for the last footstep awaited to be played out; cues this close to
// the end may not have reached the recording.
constexpr double PlayOutSeconds = 0.6;
constexpr double Tolerance = 0.1;

// The times of the trace's footstep cues; the time of its last frame line.
std::vector<double> footstep_times(const std::vector<TracedCue>& cues) {
    std::vector<double> times;
    for (const TracedCue& cue : cues)
        if (cue.name.rfind("Footstep", 0) == 0) times.push_back(cue.seconds);
    return times;
}

// When the program's clock read 0: each frame line reached the trace after
// the time it gives, so the earliest of those arrivals less its time bounds
// it closely from above.
Clock::time_point clock_origin(const std::vector<TracedFrame>& frames, const FileGrowth& growth, size_t trace) {
    Clock::time_point origin = Clock::time_point::max();
    for (const TracedFrame& frame : frames) {
        const auto written = growth.first_holding(trace, frame.end - 1);
        origin = std::min(origin, written - std::chrono::duration_cast<Clock::duration>(
                                                std::chrono::duration<double>(frame.seconds)));
    }
    return origin;
}

double seconds_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

std::string listing(const std::vector<TracedCue>& cues, const std::vector<HeardSound>& heard) {
    std::string text = "\ncues (trace s):";
    for (const TracedCue& cue : cues) text += " " + cue.name + "@" + std::to_string(cue.seconds);
    text += "\nheard (recording s):";
    for (const HeardSound& sound : heard)
        text += " " + (sound.name.empty() ? "?" : sound.name) + "@" +
                std::to_string(double(sound.frame) / RecordedRate) + "(" + std::to_string(sound.frames) + " frames)";
    return text;
}

} // namespace

TEST_F(WindowTest, TheDiskSoundDriverRecordsTheFootstepsAtTheirCues) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_TRUE(screen.up()) << "no Xvfb could be started";
    TempDir dir;
    const std::string recording = dir / "sound.raw";
    ShowOnScreen show(screen, {}, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + recording});
    FileGrowth growth({recording, show.dir() / "trace.txt"});
    const bool heardEnough = wait_until(
        [&] {
            const std::string trace = show.trace();
            const std::vector<double> footsteps = footstep_times(cues_in_trace(trace));
            const bool enough = int(footsteps.size()) >= FootstepsToHear &&
                                last_frame_seconds(trace) > footsteps[FootstepsToHear - 1] + PlayOutSeconds;
            return enough || !show.running();
        },
        ShowTimeoutMs);
    std::string error;
    EXPECT_TRUE(show.send_keys("Escape", &error)) << error;
    const ProgramResult result = show.finish(30000);
    growth.stop();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_TRUE(heardEnough) << "fewer than " << FootstepsToHear << " footstep cues in the trace";

    const std::string trace = show.trace();
    const std::vector<TracedCue> cues = cues_in_trace(trace);
    const std::vector<HeardSound> heard =
        sounds_in_recording(read_recording(recording), {&KeyClick, &FootstepA, &FootstepB});
    size_t due = 0;
    while (due < cues.size() && cues[due].seconds < last_frame_seconds(trace) - PlayOutSeconds / 2) ++due;
    ASSERT_GE(int(footstep_times({cues.begin(), cues.begin() + long(due)}).size()), FootstepsToHear);
    ASSERT_GE(heard.size(), due) << "sounds missing from the recording" << listing(cues, heard);
    ASSERT_LE(heard.size(), cues.size()) << "sounds without a cue" << listing(cues, heard);

    // The disk driver writes each buffer as it takes it, so the file's
    // growth tells when the device took the buffer that starts each sound,
    // and when it took the one before. A busy machine may hold the device
    // back between the two; the cue must fall between them.
    const Clock::time_point origin = clock_origin(frames_in_trace(trace), growth, 1);
    for (size_t i = 0; i < due; ++i) {
        SCOPED_TRACE("sound " + std::to_string(i) + listing(cues, heard));
        EXPECT_EQ(heard[i].name, cues[i].name);
        const Clock::time_point cue =
            origin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(cues[i].seconds));
        const int64_t byte = heard[i].frame * RecordedFrameBytes;
        EXPECT_LT(seconds_between(cue, growth.last_growth_without(0, byte)), Tolerance)
            << "the device took a buffer without the sound after its cue";
        EXPECT_GT(seconds_between(cue, growth.first_holding(0, byte)), -Tolerance) << "the sound came before its cue";
    }
}
