// The SDL2 backend: a borderless full-screen window (or an ordinary one), the
// FrameBuffer uploaded once a frame into a 32-bit XRGB streaming texture and
// scaled to fit with its aspect kept, key events into KeyState, and sound
// cues queued on one audio device.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/sound_convert.h"

namespace {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
SDL_Texture* Picture = nullptr;

SDL_AudioDeviceID AudioDevice = 0;
SDL_AudioSpec AudioFormat{};

// Each image is decoded once, on its first cue, into the device's format.
struct DecodedSound {
    const uint8_t* bytes;
    std::vector<int16_t> samples;
    bool usable;
};
std::vector<DecodedSound> DecodedSounds;

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + SDL_GetError();
    window_close();
    return false;
}

// SDL's offscreen and dummy video drivers draw into memory only: SDL falls
// back to them when there is no display, and a window there is one nobody
// sees.
bool video_is_visible(std::string* error) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
    if (error)
        *error = std::string("no display to show it on (SDL's video driver is \"") + (driver ? driver : "none") +
                 "\"; is DISPLAY set to a display that can be opened?)";
    window_close();
    return false;
}

// Whether the first display offers a ScreenWidth x ScreenHeight mode.
bool display_has_picture_mode() {
    const int count = SDL_GetNumDisplayModes(0);
    for (int index = 0; index < count; ++index) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, index, &mode) == 0 && mode.w == ScreenWidth && mode.h == ScreenHeight) return true;
    }
    return false;
}

// Where the window opens and how.
struct WindowPlacement {
    int x;
    int y;
    int width;
    int height;
    Uint32 flags;
    bool switchMode;
};

// A full-screen window is made at the size and place of the desktop it
// covers (or of the mode it switches to): without a window manager nothing
// resizes it, and a 1920 x 1080 window centred on a smaller desktop would
// lose its edges. The renderer's logical size then scales the picture to fit
// with its aspect kept.
WindowPlacement place_window(const WindowOptions& options) {
    if (options.windowed)
        return {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ScreenWidth / 2, ScreenHeight / 2,
                SDL_WINDOW_RESIZABLE, false};
    SDL_Rect desktop{0, 0, ScreenWidth, ScreenHeight};
    SDL_GetDisplayBounds(0, &desktop);
    bool switchMode = options.switchMode;
    if (switchMode && !display_has_picture_mode()) {
        std::fprintf(stderr,
                     "quorvalite: the display has no %d x %d mode; scaling the picture to the desktop instead\n",
                     ScreenWidth, ScreenHeight);
        switchMode = false;
    }
    if (switchMode)
        return {desktop.x, desktop.y, ScreenWidth, ScreenHeight, SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN, true};
    return {desktop.x, desktop.y, desktop.w, desktop.h, SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP, false};
}

// Sound is optional: without a device the show goes on silently after one
// notice. Whatever driver SDL starts is used, including the disk and dummy
// drivers, which SDL starts only when the user asks for them.
void open_audio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "quorvalite: no sound (%s); going on silently\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 48000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &AudioFormat,
                                      SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (AudioDevice == 0) {
        std::fprintf(stderr, "quorvalite: cannot open the sound device (%s); going on silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(AudioDevice, 0);
}

const DecodedSound& decoded(const SoundImage& sound) {
    for (const DecodedSound& entry : DecodedSounds)
        if (entry.bytes == sound.bytes) return entry;
    DecodedSound entry{sound.bytes, {}, false};
    std::string error;
    entry.usable = convert_sound(sound, AudioFormat.freq, AudioFormat.channels, &entry.samples, &error);
    if (!entry.usable && sound.bytes) std::fprintf(stderr, "quorvalite: %s; it stays silent\n", error.c_str());
    DecodedSounds.push_back(std::move(entry));
    return DecodedSounds.back();
}

// The mouse is no input: its events are never queued, so key events are not
// delayed behind them; nor is text input.
void ignore_unused_events() {
    const Uint32 ignored[] = {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL,
                              SDL_FINGERDOWN,  SDL_FINGERUP,        SDL_FINGERMOTION,  SDL_TEXTINPUT,
                              SDL_TEXTEDITING, SDL_MULTIGESTURE,    SDL_DOLLARGESTURE};
    for (const Uint32 type : ignored) SDL_EventState(type, SDL_IGNORE);
    SDL_StopTextInput();
}

} // namespace

bool window_open(const WindowOptions& options, std::string* error) {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail(error, "cannot start the video system");
    if (!video_is_visible(error)) return false;
    SDL_ShowCursor(SDL_DISABLE);

    const WindowPlacement place = place_window(options);
    Window = SDL_CreateWindow("Quorvalite", place.x, place.y, place.width, place.height, place.flags);
    if (!Window) return fail(error, "cannot create the window");
    if (place.switchMode) {
        // Only the size is asked for; depth and refresh rate stay as they are.
        SDL_DisplayMode mode{0, ScreenWidth, ScreenHeight, 0, nullptr};
        SDL_SetWindowDisplayMode(Window, &mode);
    }

    Renderer = SDL_CreateRenderer(Window, -1, 0);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    if (!Renderer) return fail(error, "cannot create the renderer");
    SDL_RenderSetLogicalSize(Renderer, ScreenWidth, ScreenHeight);
    Picture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, ScreenWidth,
                                ScreenHeight);
    if (!Picture) return fail(error, "cannot create the picture texture");

    ignore_unused_events();
    open_audio();
    return true;
}

void window_close() {
    if (AudioDevice) SDL_CloseAudioDevice(AudioDevice);
    AudioDevice = 0;
    DecodedSounds.clear();
    if (Picture) SDL_DestroyTexture(Picture);
    if (Renderer) SDL_DestroyRenderer(Renderer);
    // Destroying the window gives back a switched display mode.
    if (Window) SDL_DestroyWindow(Window);
    Picture = nullptr;
    Renderer = nullptr;
    Window = nullptr;
    SDL_Quit();
}

void window_present() {
    SDL_UpdateTexture(Picture, nullptr, FrameBuffer, ScreenWidth * int(sizeof(uint32_t)));
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    SDL_RenderCopy(Renderer, Picture, nullptr, nullptr);
    SDL_RenderPresent(Renderer);
}

bool window_service_one_event() {
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return false;
    switch (event.type) {
    case SDL_QUIT: return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        if (is_close_request(event.key.keysym.sym, down, alt)) return true;
        record_key_event(event.key.keysym.sym, down, alt);
        return false;
    }
    default: return false;
    }
}

void window_place_cursor() {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(Window, &width, &height);
    SDL_WarpMouseInWindow(Window, width / 2, height / 2);
}

void window_play_sound(const SoundImage& sound) {
    if (AudioDevice == 0) return;
    SDL_ClearQueuedAudio(AudioDevice);
    const DecodedSound& entry = decoded(sound);
    if (!entry.usable || entry.samples.empty()) return;
    SDL_QueueAudio(AudioDevice, entry.samples.data(), Uint32(entry.samples.size() * sizeof(int16_t)));
}

namespace {

// Taken during static initialisation, that is at program start, so the real
// clock counts from there and its low 32 bits do not wrap in a realistic run.
const std::chrono::steady_clock::time_point ProgramStart = std::chrono::steady_clock::now();

} // namespace

int64_t window_now_ms() {
    const auto since = std::chrono::steady_clock::now() - ProgramStart;
    return 1000 + std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}
