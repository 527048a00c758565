// The only door to the outside world: frame buffer, keys, clock, presentation,
// events, sound and threads. Two backends implement it: a real window through
// SDL2 (platform_sdl.cpp) and a headless one with a virtual clock
// (platform_headless.cpp). Nothing outside src/platform includes SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Frame numbers to write as PNG files, as inclusive ranges.
struct FrameRange {
    int64_t first;
    int64_t last;
};

struct HeadlessOptions {
    int32_t fps = 60;                 // virtual clock rate
    std::vector<FrameRange> dump;     // frames to write as DIR/frame_NNNNNN.png
    std::string outDir;               // where dumps go
};

// Allocates and clears the FrameBuffer; false (with a message in *error) if it
// cannot be allocated.
bool platform_allocate_frame_buffer(std::string* error);

// Opens the SDL window; false with SDL's reason in *error.
bool platform_open_window(const WindowOptions& options, std::string* error);

// Selects the headless backend: no window, no sound device, virtual clock.
bool platform_open_headless(const HeadlessOptions& options, std::string* error);

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
// headless backend returns its virtual clock instead, where read number k
// (0 at start-up, j in frame j) returns 1000 + k x 1000 / fps.
int64_t now_ms();

// Stops the sound that is playing and starts this one, asynchronously.
void play_sound(const SoundImage& sound);

// True when the last platform failure (for example a dump that could not be
// written) must end the run with an error; *error says what failed.
bool platform_failed(std::string* error);

// --- Headless backend extras ---------------------------------------------

// One sound cue issued while the headless backend runs.
struct SoundCue {
    int64_t frame;            // the frame in which the show issued it (1-based)
    const SoundImage* sound;
};

// Cues issued since the last call, in order; the list is emptied. Cues are
// recorded on every backend, so a trace lists them for a windowed run too.
std::vector<SoundCue> headless_take_cues();

// Number of frames presented so far.
int64_t presented_frame_count();

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

// --- Files -----------------------------------------------------------------

// Writes a PNG of width x height pixels 0x00RRGGBB (row length stride). With
// alpha, texels of value 0 come out transparent. Writes under a temporary name
// and renames, so a failed write leaves nothing behind.
bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
               int32_t stride, bool alpha, std::string* error);

// Reads an 8-bit RGB or RGBA PNG into pixels 0x00RRGGBB (alpha dropped); false
// with a message in *error if the file is missing or not such a PNG.
bool read_png(const std::string& path, std::vector<uint32_t>* pixels, int32_t* width, int32_t* height,
              std::string* error);

// --- Processes, interrupts, the machine and folders ------------------------

// A child process whose standard input is a pipe from us.
struct ProcessPipe;

// The full path of an executable program of that name on PATH; empty when
// there is none.
std::string find_program(const std::string& name);

// Starts arguments[0] (a path) with the arguments, its standard input a pipe
// from us, in a process group of its own so that a Ctrl-C at the terminal
// reaches only us; null with a message in *error when it cannot be started.
// Writing to a child that has gone away fails instead of ending the process.
ProcessPipe* open_process_pipe(const std::vector<std::string>& arguments, std::string* error);
// Writes all bytes; false when the child has gone away.
bool write_process_pipe(ProcessPipe* pipe, const void* bytes, size_t size);
// Closes the pipe (after killing the child when kill is set) and waits for
// the child; returns its exit code, or -1 when a signal ended it.
int close_process_pipe(ProcessPipe* pipe, bool kill);

// Runs arguments[0] (a path) with the arguments, in a process group of its
// own, its standard input empty and its standard output and error both read
// into *output (the first MiB kept), and waits for it: *exitCode is its exit
// code, or -1 when a signal ended it. False with a message in *error when it
// cannot be started.
bool run_process_output(const std::vector<std::string>& arguments, std::string* output, int* exitCode,
                        std::string* error);

// After this, Ctrl-C and termination requests set a flag instead of ending
// the process; interrupt_requested reads it.
void install_interrupt_handler();
bool interrupt_requested();

bool stdout_is_terminal();
bool stderr_is_terminal();

// The processor's model name as the system reports it, or "unknown".
std::string cpu_model_name();
int32_t cpu_core_count();

// Creates a folder (one level); false with a message unless it was made.
bool make_directory(const std::string& path, std::string* error);
// Creates a new folder prefix + six random letters or digits + suffix, where
// nothing of that name was (so no other process holds it), with the usual
// permissions; its name in *path, or false with a message.
bool make_unique_directory(const std::string& prefix, const std::string& suffix, std::string* path,
                           std::string* error);
// True when path is a folder in which this process may make files; false
// with the reason otherwise (missing, no permission, a read-only file system).
bool directory_writable(const std::string& path, std::string* error);
// Removes a file or a folder with everything in it; quiet when nothing is there.
void remove_tree(const std::string& path);
// Renames a file or folder; a file of the new name, or an empty folder, is replaced.
bool rename_path(const std::string& from, const std::string& to, std::string* error);
bool path_exists(const std::string& path);
bool is_directory(const std::string& path);
