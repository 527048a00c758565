#include "recorded_sound.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "platform/sound_convert.h"

namespace {

// A sound shorter than 10 ms is not taken for one of the images.
constexpr int64_t LeastHeardFrames = RecordedRate / 100;

bool silent_frame(const std::vector<int16_t>& samples, int64_t frame) {
    for (int32_t channel = 0; channel < RecordedChannels; ++channel)
        if (samples[size_t(frame * RecordedChannels + channel)] != 0) return false;
    return true;
}

// How many frames of the recording from frame at on equal the sound from
// its frame from on.
int64_t common_frames(const std::vector<int16_t>& samples, int64_t at, const std::vector<int16_t>& sound,
                      int64_t from) {
    const int64_t most =
        std::min(int64_t(samples.size()) / RecordedChannels - at, int64_t(sound.size()) / RecordedChannels - from);
    int64_t count = 0;
    while (count < most && std::equal(&samples[size_t((at + count) * RecordedChannels)],
                                      &samples[size_t((at + count + 1) * RecordedChannels)],
                                      &sound[size_t((from + count) * RecordedChannels)]))
        ++count;
    return count;
}

int64_t first_sounding_frame(const std::vector<int16_t>& sound) {
    const auto nonzero = std::find_if(sound.begin(), sound.end(), [](int16_t v) { return v != 0; });
    return int64_t(nonzero - sound.begin()) / RecordedChannels;
}

std::map<int64_t, double> frame_times(const std::string& trace) {
    std::map<int64_t, double> times;
    std::stringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::stringstream words(line);
        std::string kind, timeWord;
        int64_t frame = 0;
        double ms = 0;
        if (words >> kind >> frame >> timeWord >> ms && kind == "frame" && timeWord == "time") times[frame] = ms / 1000;
    }
    return times;
}

} // namespace

std::vector<HeardSound> sounds_in_recording(const std::vector<int16_t>& samples,
                                            const std::vector<const SoundImage*>& images) {
    std::vector<std::vector<int16_t>> decoded(images.size());
    for (size_t i = 0; i < images.size(); ++i)
        convert_sound(*images[i], RecordedRate, RecordedChannels, &decoded[i], nullptr);
    std::vector<HeardSound> heard;
    const int64_t frames = int64_t(samples.size()) / RecordedChannels;
    for (int64_t at = 0; at < frames;) {
        if (silent_frame(samples, at)) {
            ++at;
            continue;
        }
        // A sound starts here: the longest image that the recording follows
        // from here on, up to its end or to the next sound's start.
        HeardSound sound{at, "", 0};
        for (size_t i = 0; i < images.size(); ++i) {
            const int64_t lead = first_sounding_frame(decoded[i]);
            const int64_t common = common_frames(samples, at, decoded[i], lead);
            if (common > sound.frames) sound = {at, images[i]->name, common};
        }
        if (sound.frames < LeastHeardFrames) sound = {at, "", 0};
        heard.push_back(sound);
        at += std::max<int64_t>(sound.frames, 1);
        // Whatever follows an unknown sound up to the next silence belongs to it.
        while (sound.name.empty() && at < frames && !silent_frame(samples, at)) ++at;
    }
    return heard;
}

std::vector<int16_t> read_recording(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
    return samples;
}

std::vector<TracedCue> cues_in_trace(const std::string& trace) {
    const std::map<int64_t, double> times = frame_times(trace);
    std::vector<TracedCue> cues;
    std::stringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::stringstream words(line);
        std::string kind, name;
        int64_t frame = 0;
        if (!(words >> kind >> frame >> name) || kind != "sound") continue;
        const auto time = times.find(frame);
        if (time != times.end()) cues.push_back({time->second, name});
    }
    return cues;
}

std::vector<TracedFrame> frames_in_trace(const std::string& trace) {
    std::vector<TracedFrame> frames;
    for (size_t start = 0; start < trace.size();) {
        const size_t end = std::min(trace.find('\n', start), trace.size() - 1) + 1;
        std::stringstream words(trace.substr(start, end - start));
        std::string kind, timeWord;
        int64_t frame = 0;
        double ms = 0;
        if (words >> kind >> frame >> timeWord >> ms && kind == "frame" && timeWord == "time")
            frames.push_back({ms / 1000, int64_t(end)});
        start = end;
    }
    return frames;
}

double last_frame_seconds(const std::string& trace) {
    const std::map<int64_t, double> times = frame_times(trace);
    return times.empty() ? 0 : times.rbegin()->second;
}
