// The frame loop's door to the outside: the frame buffer, keys, the clock,
// presentation, events, sound and threads. A window backend (platform_sdl.cpp)
// and a headless backend with a virtual clock (platform_headless.cpp) stand
// behind it; platform.cpp holds the shared state and picks the open one.
// Nothing outside src/platform includes SDL. What the tools need besides
// (files, child processes, interrupts) is the other door, src/system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t ScreenWidth = 1920;
constexpr int32_t ScreenHeight = 1080;

// ScreenWidth x ScreenHeight pixels 0x00RRGGBB, row-major, row 0 at the top.
// Allocated once by platform_allocate_frame_buffer and zero-filled.
extern uint32_t* FrameBuffer;

// One key-down byte per Windows virtual-key code: 1 while down, 0 otherwise.
extern uint8_t KeyState[256];

// Windows virtual-key codes that the backends translate to.
enum VirtualKey : uint8_t {
    KeyBackspace = 0x08,
    KeyTab = 0x09,
    KeyEnter = 0x0D,
    KeyShift = 0x10,
    KeyControl = 0x11,
    KeyEscape = 0x1B,
    KeySpace = 0x20,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    Key0 = 0x30,  // '0'..'9' are 0x30..0x39
    KeyA = 0x41,  // 'A'..'Z' are 0x41..0x5A
    KeyF1 = 0x70, // F1..F12 are 0x70..0x7B
};

// A complete RIFF/WAVE file image held in memory.
struct SoundImage {
    const char* name;
    const uint8_t* bytes;
    uint32_t size;
};

// --- Backend selection and lifetime -------------------------------------

struct WindowOptions {
    bool windowed = false;   // an ordinary resizable window instead of full screen
    bool switchMode = false; // switch the display to 1920 x 1080 instead of scaling
};

// Allocates and clears the FrameBuffer; false (with a message in *error) if it
// cannot be allocated.
bool platform_allocate_frame_buffer(std::string* error);

// Opens the SDL window; false with SDL's reason in *error.
bool platform_open_window(const WindowOptions& options, std::string* error);

// Selects the headless backend: no window, no sound device, and a virtual
// clock of fps frames a second (see set_virtual_frame).
bool platform_open_headless(int32_t fps, std::string* error);

// Gives back the display and closes devices. Safe to call more than once.
void platform_close();

// --- The operations the frame loop uses ---------------------------------

// Shows the whole FrameBuffer.
void present_frame();

// Handles at most one pending event, never waits, then presents the frame.
// Returns true when the handled event was the quit request.
bool service_messages();

// Parks the (hidden) cursor in the middle of the window.
void place_cursor();

// Milliseconds since an origin 1000 ms before the program started; the
// headless backend returns its virtual clock instead: 1000 + j x 1000 / fps
// in frame j, however often it is read.
int64_t now_ms();

// Stops the sound that is playing and starts this one, asynchronously.
void play_sound(const SoundImage& sound);

// --- Headless backend extra ---------------------------------------------

// The frame whose time the virtual clock reads from now on: 0 before the
// first frame (start-up), j during frame j. Drivers of headless runs set it
// before each frame, so that time comes from the frame stream alone.
void set_virtual_frame(int64_t frame);

// --- Threads and semaphores ----------------------------------------------

// A counting semaphore that starts at 0 with a maximum count of 1.
struct PlatformSemaphore;
PlatformSemaphore* create_semaphore();
void release_semaphore(PlatformSemaphore* semaphore);
void wait_semaphore(PlatformSemaphore* semaphore);
void destroy_semaphore(PlatformSemaphore* semaphore);

struct PlatformThread;
PlatformThread* start_thread(void (*entry)(void* argument), void* argument);
void join_thread(PlatformThread* thread);
