// WAV parsing and resampling through SDL, which needs no initialised
// subsystem for either.
#include "platform/sound_convert.h"

#include <SDL.h>

#include <cstring>

bool convert_sound(const SoundImage& sound, int32_t frequency, int32_t channels, std::vector<int16_t>* samples,
                   std::string* error) {
    const std::string name = sound.name ? sound.name : "sound";
    if (!sound.bytes || sound.size == 0) {
        if (error) *error = name + " has no data";
        return false;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(sound.bytes, int(sound.size));
    SDL_AudioSpec format;
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!stream || !SDL_LoadWAV_RW(stream, 1, &format, &data, &length)) {
        if (error) *error = name + " is not a readable WAV image: " + SDL_GetError();
        return false;
    }
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_S16SYS, Uint8(channels),
                                        frequency);
    if (built < 0) {
        SDL_FreeWAV(data);
        if (error) *error = name + " cannot be converted: " + SDL_GetError();
        return false;
    }
    // The conversion runs in place in a buffer len_mult times the input.
    std::vector<Uint8> buffer(size_t(length) * size_t(cvt.len_mult) + 4);
    std::memcpy(buffer.data(), data, length);
    SDL_FreeWAV(data);
    cvt.buf = buffer.data();
    cvt.len = int(length);
    if (built > 0 && SDL_ConvertAudio(&cvt) != 0) {
        if (error) *error = name + " cannot be converted: " + SDL_GetError();
        return false;
    }
    const size_t bytes = built > 0 ? size_t(cvt.len_cvt) : size_t(length);
    samples->resize(bytes / sizeof(int16_t));
    std::memcpy(samples->data(), buffer.data(), samples->size() * sizeof(int16_t));
    return true;
}
