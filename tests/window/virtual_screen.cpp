#include "virtual_screen.h"

#include <signal.h>

#include <cstdlib>

#include "../support/read_png.h"
#include "platform/platform.h"

// Last: its macros (None, Status, True, ...) would clash with names above.
#include <X11/Xlib.h>

namespace {

// Displays FirstDisplay to FirstDisplay + 49, or from QUORVALITE_FIRST_DISPLAY
// where several test runs share the machine.
constexpr int DefaultFirstDisplay = 300;
constexpr int DisplayCount = 50;

int first_display() {
    const char* const first = std::getenv("QUORVALITE_FIRST_DISPLAY");
    return first && *first ? std::atoi(first) : DefaultFirstDisplay;
}

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (access((folder + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

// Whether the child is still running; an ended child is left to be reaped.
bool alive(pid_t pid) {
    siginfo_t info{};
    return pid > 0 && waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

// Ends the child with the signal if it still runs, and reaps it.
void end_child(pid_t pid, int signal) {
    if (pid <= 0) return;
    if (alive(pid)) kill(pid, signal);
    waitpid(pid, nullptr, 0);
}

// The program under test and the words before its own arguments.
std::vector<std::string> program_command() {
    const char* const command = std::getenv("QUORVALITE_WINDOW_PROGRAM");
    std::vector<std::string> words;
    std::stringstream text(command && *command ? command : QUORVALITE_BINARY);
    for (std::string word; text >> word;) words.push_back(word);
    return words;
}

int count_frame_lines(const std::string& text) {
    std::stringstream lines(text);
    int frames = 0;
    for (std::string line; std::getline(lines, line);) frames += line.rfind("frame ", 0) == 0;
    return frames;
}

} // namespace

VirtualScreen::VirtualScreen(int32_t width, int32_t height) : width_(width), height_(height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int tried = 0; tried < DisplayCount && display_.empty(); ++tried) {
        const int number = first_display() + (getpid() + tried) % DisplayCount;
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        if (access(socket.c_str(), F_OK) == 0 || access(lock.c_str(), F_OK) == 0) continue;
        const std::string name = ":" + std::to_string(number);
        server_ = spawn_program("Xvfb", {name, "-screen", "0", size, "-nolisten", "tcp"}, logs_);
        const bool listening =
            wait_until([&] { return access(socket.c_str(), F_OK) == 0 || !alive(server_.pid); }, 10000);
        // Another server may have taken the number at the same moment: ours
        // then exits at once, so look again a little later.
        usleep(300000);
        if (listening && alive(server_.pid)) {
            display_ = name;
        } else {
            end_child(server_.pid, SIGTERM);
            server_.pid = -1;
        }
    }
}

VirtualScreen::~VirtualScreen() { end_child(server_.pid, SIGTERM); }

bool take_screenshot(const VirtualScreen& screen, const TempDir& dir, Screenshot* shot, std::string* error) {
    const std::string path = dir / "screen.png";
    const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height());
    const ProgramResult grab = run_program("ffmpeg", {"-loglevel", "error", "-y", "-f", "x11grab", "-video_size", size,
                                                      "-i", screen.display(), "-frames:v", "1", path});
    if (grab.exitCode != 0) {
        *error = "ffmpeg could not grab the screen: " + grab.err;
        return false;
    }
    return read_png(path, &shot->pixels, &shot->width, &shot->height, error);
}

ShowOnScreen::ShowOnScreen(const VirtualScreen& screen, const std::vector<std::string>& args,
                           const std::vector<std::string>& extraEnvironment)
    : screen_(screen) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--trace", dir_ / "trace.txt"});
    // SDL and the X libraries keep caches to the end; leaks are checked elsewhere.
    std::vector<std::string> environment{"DISPLAY=" + screen.display(),
                                         "WAYLAND_DISPLAY=", "ASAN_OPTIONS=detect_leaks=0"};
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<std::string> command = program_command();
    all.insert(all.begin(), command.begin() + 1, command.end());
    started_ = std::chrono::steady_clock::now();
    program_ = spawn_program(command[0], all, dir_, environment);
}

ShowOnScreen::~ShowOnScreen() {
    if (!finished_) end_child(program_.pid, SIGKILL);
}

bool ShowOnScreen::wait_for_frames(int count, int timeoutMs) const {
    return wait_until([&] { return count_frame_lines(trace()) >= count || !running(); }, timeoutMs) &&
           count_frame_lines(trace()) >= count;
}

bool ShowOnScreen::running() const { return !finished_ && alive(program_.pid); }

std::string ShowOnScreen::trace() const { return read_text_file(dir_ / "trace.txt"); }

std::string ShowOnScreen::window_id(std::string* error) const {
    const std::vector<std::string> environment{"DISPLAY=" + screen_.display()};
    const ProgramResult search = run_program("xdotool", {"search", "--name", "^Quorvalite$"}, environment);
    const std::string window = search.out.substr(0, search.out.find('\n'));
    if (window.empty()) *error = "no window found: " + search.err;
    return window;
}

bool ShowOnScreen::send_keys(const std::string& keys, std::string* error) const {
    const std::string window = window_id(error);
    if (window.empty()) return false;
    const std::vector<std::string> environment{"DISPLAY=" + screen_.display()};
    const ProgramResult sent = run_program("xdotool", {"key", "--window", window, keys}, environment);
    if (sent.exitCode != 0) *error = "xdotool could not send the keys: " + sent.err;
    return sent.exitCode == 0;
}

bool ShowOnScreen::close_window(std::string* error) const {
    const std::string window = window_id(error);
    if (window.empty()) return false;
    Display* const display = XOpenDisplay(screen_.display().c_str());
    if (!display) {
        *error = "cannot open the display " + screen_.display();
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event) != 0;
    XCloseDisplay(display);
    if (!sent) *error = "the close request could not be sent";
    return sent;
}

ProgramResult ShowOnScreen::finish(int timeoutMs) {
    finished_ = true;
    return wait_program(program_, timeoutMs);
}

void WindowTest::SetUp() {
    if (on_path("Xvfb") && on_path("xdotool") && on_path("ffmpeg")) return;
    if (std::getenv("QUORVALITE_REQUIRE_WINDOW_TEST")) FAIL() << "the window tests need Xvfb, xdotool and ffmpeg";
    GTEST_SKIP() << "needs Xvfb, xdotool and ffmpeg";
}
