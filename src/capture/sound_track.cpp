// Mixing the cues into the sound track, and writing it as a WAV file.
#include "capture/sound_track.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>

#include "capture/sound_upsample.h"
#include "system/system.h"

int64_t frame_sample_offset(int64_t frame, int32_t fps, int32_t sampleRate) {
    return (frame - 1) * int64_t(sampleRate) / int64_t(fps);
}

bool mix_sound_track(const std::vector<SoundCue>& cues, int64_t frameCount, int32_t fps, SoundTrack* track,
                     std::string* error) {
    const int64_t length = std::max<int64_t>(frame_sample_offset(frameCount + 1, fps, track->sampleRate), 0);
    try {
        track->samples.assign(size_t(length), 0);
    } catch (const std::bad_alloc&) {
        *error = "not enough memory for a sound track of " + std::to_string(length) + " samples";
        return false;
    }
    std::map<const SoundImage*, std::vector<int16_t>> converted;
    for (size_t i = 0; i < cues.size(); ++i) {
        const SoundCue& cue = cues[i];
        if (cue.frame < 1 || cue.frame > frameCount) continue;
        auto found = converted.find(cue.sound);
        if (found == converted.end()) {
            std::vector<int16_t> samples;
            if (!upsample_sound(*cue.sound, track->sampleRate, &samples, error)) return false;
            found = converted.emplace(cue.sound, std::move(samples)).first;
        }
        const std::vector<int16_t>& sound = found->second;
        // The next cue cuts this one off; cues of one frame all start at the
        // same sample, so only the last of them is heard.
        const int64_t start = frame_sample_offset(cue.frame, fps, track->sampleRate);
        int64_t end = std::min(start + int64_t(sound.size()), length);
        if (i + 1 < cues.size()) end = std::min(end, frame_sample_offset(cues[i + 1].frame, fps, track->sampleRate));
        for (int64_t s = start; s < end; ++s) track->samples[size_t(s)] = sound[size_t(s - start)];
    }
    return true;
}

namespace {

void put_u32(uint8_t* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = uint8_t(v >> (8 * i));
}
void put_u16(uint8_t* out, uint16_t v) {
    out[0] = uint8_t(v);
    out[1] = uint8_t(v >> 8);
}

// Header and samples, little-endian whatever the host.
bool write_wav_bytes(std::FILE* file, const SoundTrack& track) {
    const uint32_t dataBytes = uint32_t(track.samples.size() * 2);
    uint8_t header[44];
    std::memcpy(header, "RIFF", 4);
    put_u32(header + 4, 36 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put_u32(header + 16, 16);
    put_u16(header + 20, 1); // PCM
    put_u16(header + 22, 1); // mono
    put_u32(header + 24, uint32_t(track.sampleRate));
    put_u32(header + 28, uint32_t(track.sampleRate) * 2);
    put_u16(header + 32, 2);
    put_u16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    put_u32(header + 40, dataBytes);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) return false;
    uint8_t chunk[8192];
    for (size_t i = 0; i < track.samples.size();) {
        const size_t count = std::min(track.samples.size() - i, sizeof chunk / 2);
        for (size_t k = 0; k < count; ++k) put_u16(chunk + 2 * k, uint16_t(track.samples[i + k]));
        if (std::fwrite(chunk, 2, count, file) != count) return false;
        i += count;
    }
    return true;
}

} // namespace

bool write_wav_file(const std::string& path, const SoundTrack& track, std::string* error) {
    if (track.samples.size() > (0xFFFFFFFFu - 36) / 2) {
        *error = "the sound track is too long for a WAV file";
        return false;
    }
    return write_file_atomically(path, [&](std::FILE* file) { return write_wav_bytes(file, track); }, error);
}
