// The Win32 backend: a borderless window over the primary display (or an
// ordinary one), the FrameBuffer copied to it by GDI once a frame, key
// messages into KeyState, the performance counter as the clock, and sounds
// played from memory by winmm.
//
// At a client size of 1920 x 1080 the picture is copied one to one with
// SetDIBitsToDevice. At any other size (a desktop of another size, a display
// that kept its mode, a resized --window) StretchDIBits scales it to the
// largest centred rectangle of its aspect, with black bars around it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "platform/backend.h"

namespace {

const char* const WindowClass = "Window";
const char* const WindowTitle = "Quorvalite";
// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, with the low bits 0x0003 set.
const DWORD FullScreenStyle = 0x86000003;

HWND Window = nullptr;
BITMAPINFO FrameHeader{};
bool ModeSwitched = false;
bool CursorHidden = false;
bool SoundDevice = false;

// 1920 x 1080, top row first (negative height), 32 bits a pixel, no colour table.
void fill_frame_header() {
    BITMAPINFOHEADER& header = FrameHeader.bmiHeader;
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = ScreenWidth;
    header.biHeight = -ScreenHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
}

// Key messages into KeyState; system keys (Alt and F10 combinations) and the
// mouse are not recorded. Every message then goes on to the default handling,
// which turns Alt+F4 and the close button into WM_CLOSE and WM_CLOSE into
// DestroyWindow.
LRESULT CALLBACK on_window_message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: fill_frame_header(); break;
    case WM_DESTROY:
        // Nothing is drawn into a window that is gone: GetDC of a null
        // window would hand out the whole screen.
        Window = nullptr;
        PostQuitMessage(0);
        break;
    case WM_KEYDOWN: KeyState[wParam & 0xFF] = 1; break;
    case WM_KEYUP: KeyState[wParam & 0xFF] = 0; break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string failure(const char* what) { return std::string(what) + " (error " + std::to_string(GetLastError()) + ")"; }

RECT desktop_rect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// Asks for 1920 x 1080 at the current depth and refresh rate, for as long as
// the program runs (CDS_FULLSCREEN: a temporary change, never saved).
bool switch_display_mode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = ScreenWidth;
    mode.dmPelsHeight = ScreenHeight;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

// An ordinary resizable window with a client area of half the picture's size.
HWND create_ordinary_window(HINSTANCE instance) {
    RECT frame{0, 0, ScreenWidth / 2, ScreenHeight / 2};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return CreateWindowExA(0, WindowClass, WindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

HWND create_full_screen_window(HINSTANCE instance, const RECT& area) {
    return CreateWindowExA(WS_EX_APPWINDOW, WindowClass, WindowTitle, FullScreenStyle, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, nullptr);
}

// With --switch-mode the window is made at 1920 x 1080 and the display
// switched under it; a display that keeps its mode gets the window over the
// desktop instead, and the picture scaled, after a notice.
HWND create_window(const WindowOptions& options, HINSTANCE instance) {
    if (options.windowed) return create_ordinary_window(instance);
    if (!options.switchMode) return create_full_screen_window(instance, desktop_rect());
    const HWND window = create_full_screen_window(instance, RECT{0, 0, ScreenWidth, ScreenHeight});
    ModeSwitched = switch_display_mode();
    if (!ModeSwitched) {
        std::fprintf(stderr,
                     "quorvalite: the display has no %d x %d mode; scaling the picture to the desktop instead\n",
                     ScreenWidth, ScreenHeight);
        const RECT desktop = desktop_rect();
        if (window) SetWindowPos(window, nullptr, 0, 0, desktop.right, desktop.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

// A console program started from Explorer gets a console window of its own,
// which would stand beside the show: it is closed when no other program
// shares it. A console that a terminal or a parent program holds stays.
void free_own_console_window() {
    DWORD processes[2];
    if (GetConsoleWindow() != nullptr && GetConsoleProcessList(processes, 2) == 1) FreeConsole();
}

void open_sound() {
    SoundDevice = waveOutGetNumDevs() > 0;
    if (!SoundDevice) std::fprintf(stderr, "quorvalite: no sound device; going on silently\n");
}

// The largest rectangle of the picture's aspect inside width x height, centred.
RECT fitted_rect(LONG width, LONG height) {
    LONG w = width;
    LONG h = LONG((int64_t(width) * ScreenHeight + ScreenWidth / 2) / ScreenWidth);
    if (h > height) {
        h = height;
        w = LONG((int64_t(height) * ScreenWidth + ScreenHeight / 2) / ScreenHeight);
    }
    const LONG x = (width - w) / 2;
    const LONG y = (height - h) / 2;
    return RECT{x, y, x + w, y + h};
}

// Black above, below, left and right of the picture.
void paint_bars(HDC dc, const RECT& client, const RECT& picture) {
    PatBlt(dc, 0, 0, client.right, picture.top, BLACKNESS);
    PatBlt(dc, 0, picture.bottom, client.right, client.bottom - picture.bottom, BLACKNESS);
    PatBlt(dc, 0, picture.top, picture.left, picture.bottom - picture.top, BLACKNESS);
    PatBlt(dc, picture.right, picture.top, client.right - picture.right, picture.bottom - picture.top, BLACKNESS);
}

void present_scaled(HDC dc, const RECT& client) {
    const RECT picture = fitted_rect(client.right, client.bottom);
    // COLORONCOLOR drops or repeats whole pixels: fast enough for every
    // frame, unlike HALFTONE's averaging.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top, 0, 0,
                  ScreenWidth, ScreenHeight, FrameBuffer, &FrameHeader, DIB_RGB_COLORS, SRCCOPY);
    paint_bars(dc, client, picture);
}

// The performance counter in milliseconds: c x 1000 / f, taken as whole
// seconds and remainder so that it cannot overflow for a counter that runs at
// the processor's clock rate.
int64_t counter_ms() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const int64_t f = frequency.QuadPart;
    const int64_t c = counter.QuadPart;
    return (c / f) * 1000 + (c % f) * 1000 / f;
}

// Taken during static initialisation, that is at program start, so the clock
// counts from there and its low 32 bits do not wrap in a realistic run.
const int64_t ProgramStartMs = counter_ms();

} // namespace

bool window_open(const WindowOptions& options, std::string* error) {
    // Without this a scaled desktop (125 %, 150 %) reports a smaller screen
    // and the system stretches the window once more, blurred.
    SetProcessDPIAware();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = on_window_message;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WindowClass;
    // An earlier window of this process may have registered it already.
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        *error = failure("cannot register the window class");
        return false;
    }
    Window = create_window(options, instance);
    if (!Window) {
        *error = failure("cannot create the window");
        window_close();
        return false;
    }
    ShowCursor(FALSE);
    CursorHidden = true;
    free_own_console_window();
    ShowWindow(Window, SW_SHOWNORMAL);
    UpdateWindow(Window);
    open_sound();
    return true;
}

void window_close() {
    if (SoundDevice) sndPlaySoundA(nullptr, 0);
    SoundDevice = false;
    if (Window) {
        DestroyWindow(Window);
        Window = nullptr;
    }
    // The quit request that destroying the window posted belongs to it alone.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (ModeSwitched) ChangeDisplaySettingsA(nullptr, 0);
    ModeSwitched = false;
    if (CursorHidden) ShowCursor(TRUE);
    CursorHidden = false;
}

void window_present() {
    if (!Window) return;
    RECT client{};
    GetClientRect(Window, &client);
    const HDC dc = GetDC(Window);
    if (client.right == ScreenWidth && client.bottom == ScreenHeight) {
        SetDIBitsToDevice(dc, 0, 0, ScreenWidth, ScreenHeight, 0, 0, 0, ScreenHeight, FrameBuffer, &FrameHeader,
                          DIB_RGB_COLORS);
    } else if (client.right > 0 && client.bottom > 0) {
        present_scaled(dc, client);
    }
    ReleaseDC(Window, dc);
}

// At most one message, never waiting. The quit request is what WM_DESTROY
// posts when the window is closed (Alt+F4, the close button, the task bar).
bool window_service_one_event() {
    MSG message{};
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return message.message == WM_QUIT;
}

void window_place_cursor() {
    if (!Window) return;
    RECT client{};
    GetClientRect(Window, &client);
    POINT middle{client.right / 2, client.bottom / 2};
    ClientToScreen(Window, &middle);
    SetCursorPos(middle.x, middle.y);
}

// The first call stops whatever still plays; the second starts the image from
// memory and returns at once. A sound that cannot be played stays silent
// (SND_NODEFAULT: no system sound instead). The images live as long as the
// program.
void window_play_sound(const SoundImage& sound) {
    if (!SoundDevice) return;
    sndPlaySoundA(nullptr, SND_ASYNC | SND_MEMORY);
    if (sound.bytes)
        sndPlaySoundA(reinterpret_cast<LPCSTR>(sound.bytes), SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
}

int64_t window_now_ms() { return 1000 + (counter_ms() - ProgramStartMs); }
