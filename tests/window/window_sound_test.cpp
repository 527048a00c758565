// What a listener hears from the window: SDL's disk audio driver records the
// device's output, and the footsteps must be in it, sample for sample, in
// the order of their cues in the trace, each in the first buffer the device
// took after its cue.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>

#include "platform/sound_convert.h"
#include "show/sounds.h"
#include "virtual_screen.h"

namespace {

using Clock = std::chrono::steady_clock;

// The format the program asks of its sound device, which the disk driver
// records as it is: 48 kHz, two channels, signed 16-bit samples.
constexpr int32_t Rate = 48000, Channels = 2, FrameBytes = Channels * 2;
// A cue's sound is heard where the recording follows it for 10 ms at least.
constexpr int64_t LeastHeardFrames = Rate / 100;
// The first footsteps come a few seconds into the show, later at a low frame rate.
constexpr int FootstepsToHear = 3, ShowTimeoutMs = 45000;
// Time for the last footstep awaited to be played out; cues this close to
// the end may not have reached the recording.
constexpr double PlayOutSeconds = 0.6, Tolerance = 0.1;

// The complete lines of a trace: each "frame J time T ..." line with T in
// seconds and the offset just past it, and each "sound J NAME" cue at the
// time of frame J.
struct TracedFrame { double seconds; int64_t end; };
struct TracedCue { double seconds; std::string name; };
struct Trace {
    std::vector<TracedFrame> frames;
    std::vector<TracedCue> cues;
    double last_seconds() const { return frames.empty() ? 0 : frames.back().seconds; }
};

Trace read_trace(const std::string& text) {
    Trace trace;
    std::map<int64_t, double> times;
    std::vector<std::pair<int64_t, std::string>> cues;
    int64_t end = 0;
    for (const std::string& line : lines_of(text.substr(0, text.rfind('\n') + 1))) {
        end += int64_t(line.size()) + 1;
        std::istringstream words(line);
        std::string kind, word;
        int64_t frame = 0;
        double ms = 0;
        words >> kind >> frame >> word;
        if (kind == "frame" && word == "time" && words >> ms) trace.frames.push_back({times[frame] = ms / 1000, end});
        else if (kind == "sound") cues.emplace_back(frame, word);
    }
    for (const auto& [frame, name] : cues)
        if (times.count(frame)) trace.cues.push_back({times[frame], name});
    return trace;
}

// How many of the cues before that time are footsteps.
int footsteps_before(const std::vector<TracedCue>& cues, double seconds) {
    return int(std::count_if(cues.begin(), cues.end(), [&](const TracedCue& cue) {
        return cue.seconds < seconds && cue.name.rfind("Footstep", 0) == 0;
    }));
}

// How many frames of the recording from frame at on equal the sound from its
// first sounding frame on: to the sound's end, or to where the next cue cut
// it off.
int64_t frames_following(const std::vector<int16_t>& samples, int64_t at, const std::vector<int16_t>& sound) {
    const auto sounding = std::find_if(sound.begin(), sound.end(), [](int16_t v) { return v != 0; });
    const auto from = sound.begin() + (sounding - sound.begin()) / Channels * Channels;
    const auto heard = samples.begin() + at * Channels;
    const auto most = std::min(samples.end() - heard, sound.end() - from);
    return (std::mismatch(heard, heard + most, from).first - heard) / Channels;
}

// Each new size of a file with when it was first seen, from (0, start).
using Sizes = std::vector<std::pair<int64_t, Clock::time_point>>;

// When files grew: polled every 2 ms on a thread of its own until stop, and
// once more after it.
struct GrowthWatch {
    std::vector<std::string> paths;
    std::vector<Sizes> sizes;
    std::atomic<bool> stopping{false};
    std::thread thread;

    explicit GrowthWatch(const std::vector<std::string>& files)
        : paths(files), sizes(files.size(), Sizes{{0, Clock::now()}}), thread([this] { watch(); }) {}
    ~GrowthWatch() { stop(); }
    void stop() {
        if (!stopping.exchange(true)) thread.join();
    }
    void watch() {
        for (bool last = false; !last;) {
            last = stopping;
            for (size_t file = 0; file < paths.size(); ++file) {
                std::error_code error;
                const int64_t size = int64_t(std::filesystem::file_size(paths[file], error));
                if (!error && size > sizes[file].back().first) sizes[file].emplace_back(size, Clock::now());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

// When the file was first seen holding more than byte bytes (never: the end of time).
Clock::time_point first_holding(const Sizes& sizes, int64_t byte) {
    for (const auto& [size, seen] : sizes)
        if (size > byte) return seen;
    return Clock::time_point::max();
}

// When the file was first seen at the last size it had before it held more
// than byte bytes.
Clock::time_point last_growth_without(const Sizes& sizes, int64_t byte) {
    Clock::time_point before = sizes.front().second;
    for (const auto& [size, seen] : sizes)
        if (size <= byte) before = seen;
    return before;
}

Clock::duration seconds(double s) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
}

} // namespace

TEST_F(WindowTest, TheDiskSoundDriverRecordsTheFootstepsAtTheirCues) {
    const VirtualScreen screen(1280, 1024);
    ASSERT_FALSE(screen.display.empty()) << "no Xvfb could be started";
    TempDir dir;
    const std::string recording = dir / "sound.raw";
    ShowOnScreen show(screen, {}, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + recording});
    GrowthWatch growth({recording, show.dir / "trace.txt"});
    wait_until(
        [&] {
            const Trace trace = read_trace(show.trace());
            return footsteps_before(trace.cues, trace.last_seconds() - PlayOutSeconds) >= FootstepsToHear ||
                   !show.running();
        },
        ShowTimeoutMs);
    EXPECT_TRUE(show.press_escape()) << "no window to send ESC to";
    const ProgramResult result = show.finish();
    growth.stop();
    EXPECT_EQ(result.exitCode, 0) << result.err;

    // The footsteps waited for; fewer when the show ended or the wait ran out.
    const Trace trace = read_trace(show.trace());
    const std::vector<TracedCue>& cues = trace.cues;
    size_t due = 0;
    while (due < cues.size() && cues[due].seconds < trace.last_seconds() - PlayOutSeconds / 2) ++due;
    ASSERT_GE(footsteps_before(cues, trace.last_seconds() - PlayOutSeconds / 2), FootstepsToHear)
        << "fewer footstep cues in the trace";

    // When the program's clock read 0: each frame line reached the trace
    // after the time it gives, so the earliest of those arrivals less its
    // time bounds it closely from above.
    Clock::time_point origin = Clock::time_point::max();
    for (const TracedFrame& frame : trace.frames)
        origin = std::min(origin, first_holding(growth.sizes[1], frame.end - 1) - seconds(frame.seconds));
    // Each cue's sound, in order, where the recording next stops being
    // silent; the disk driver writes each buffer as it takes it, so the
    // file's growth tells when the device took the buffer that starts the
    // sound, and when it took the one before. A busy machine may hold the
    // device back between the two; the cue must fall between them.
    const std::string bytes = read_text_file(recording);
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    // The show's sounds as the program decodes them for a device opened in
    // the asked format, which plays them sample for sample.
    std::map<std::string, std::vector<int16_t>> sounds;
    for (const SoundImage* sound : {&KeyClick, &FootstepA, &FootstepB})
        convert_sound(*sound, Rate, Channels, &sounds[sound->name], nullptr);
    std::string listing = "\ncues (trace s):";
    for (const TracedCue& cue : cues) listing += " " + cue.name + "@" + std::to_string(cue.seconds);
    int64_t at = 0;
    for (size_t i = 0; i < due; ++i) {
        while (at < int64_t(samples.size()) / Channels && samples[size_t(at * Channels)] == 0 &&
               samples[size_t(at * Channels + 1)] == 0)
            ++at;
        SCOPED_TRACE("sound " + std::to_string(i) + " at " + std::to_string(double(at) / Rate) + " s of the recording" +
                     listing);
        const int64_t heard = frames_following(samples, at, sounds.at(cues[i].name));
        ASSERT_GE(heard, LeastHeardFrames) << "the recording does not go on with " << cues[i].name;
        const auto after_cue = [&](Clock::time_point t) {
            return std::chrono::duration<double>(t - origin - seconds(cues[i].seconds)).count();
        };
        EXPECT_LT(after_cue(last_growth_without(growth.sizes[0], at * FrameBytes)), Tolerance)
            << "the device took a buffer without the sound after its cue";
        EXPECT_GT(after_cue(first_holding(growth.sizes[0], at * FrameBytes)), -Tolerance)
            << "the sound came before its cue";
        at += heard;
    }
}
