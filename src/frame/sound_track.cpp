#include "frame/sound_track.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/platform_services.h"

int64_t frame_sample_offset(int64_t frame, int32_t fps, int32_t sampleRate) {
    return (frame - 1) * int64_t(sampleRate) / int64_t(fps);
}

std::vector<int16_t> resample_linear(const std::vector<int16_t>& samples, int32_t fromRate, int32_t toRate) {
    if (samples.empty() || fromRate == toRate) return samples;
    const size_t count = size_t(int64_t(samples.size()) * toRate / fromRate);
    std::vector<int16_t> out(count);
    for (size_t i = 0; i < count; ++i) {
        // Position of output sample i in input samples, as an exact fraction.
        const int64_t numerator = int64_t(i) * fromRate;
        const size_t j = size_t(numerator / toRate);
        const double t = double(numerator % toRate) / double(toRate);
        const double a = samples[j];
        const double b = j + 1 < samples.size() ? samples[j + 1] : samples[j];
        out[i] = int16_t(std::clamp(a + (b - a) * t, -32768.0, 32767.0));
    }
    return out;
}

bool mix_sound_track(const std::vector<SoundCue>& cues, int64_t frameCount, int32_t fps, SoundTrack* track,
                     std::string* error) {
    const int64_t length = frame_sample_offset(frameCount + 1, fps, track->sampleRate);
    track->samples.assign(size_t(std::max<int64_t>(length, 0)), 0);
    std::map<const SoundImage*, std::vector<int16_t>> decoded;
    for (size_t i = 0; i < cues.size(); ++i) {
        const SoundCue& cue = cues[i];
        if (cue.frame < 1 || cue.frame > frameCount) continue;
        auto found = decoded.find(cue.sound);
        if (found == decoded.end()) {
            std::vector<int16_t> samples;
            int32_t rate = 0;
            if (!decode_sound(*cue.sound, &samples, &rate, error)) return false;
            found = decoded.emplace(cue.sound, resample_linear(samples, rate, track->sampleRate)).first;
        }
        // A later cue cuts this one off; cues of one frame all start at the
        // same sample, so only the last of them is heard.
        const int64_t start = frame_sample_offset(cue.frame, fps, track->sampleRate);
        int64_t end = std::min<int64_t>(start + int64_t(found->second.size()), length);
        if (i + 1 < cues.size()) end = std::min(end, frame_sample_offset(cues[i + 1].frame, fps, track->sampleRate));
        for (int64_t s = start; s < end; ++s) track->samples[size_t(s)] = found->second[size_t(s - start)];
    }
    return true;
}

namespace {
void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void put_u16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put_tag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
} // namespace

bool write_wav_file(const std::string& path, const SoundTrack& track, std::string* error) {
    const uint32_t dataBytes = uint32_t(track.samples.size() * 2);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    put_tag(bytes, "RIFF");
    put_u32(bytes, 36 + dataBytes);
    put_tag(bytes, "WAVE");
    put_tag(bytes, "fmt ");
    put_u32(bytes, 16);
    put_u16(bytes, 1);
    put_u16(bytes, 1);
    put_u32(bytes, uint32_t(track.sampleRate));
    put_u32(bytes, uint32_t(track.sampleRate) * 2);
    put_u16(bytes, 2);
    put_u16(bytes, 16);
    put_tag(bytes, "data");
    put_u32(bytes, dataBytes);
    for (const int16_t s : track.samples) put_u16(bytes, uint16_t(s));

    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    ok = ok && rename_path(temporary, path, error);
    if (!ok) {
        std::remove(temporary.c_str());
        if (error->empty()) *error = "cannot write " + path + " (disk full?)";
    }
    return ok;
}
