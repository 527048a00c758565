// POSIX implementations of the services that capture and benchmarking use:
// a pipe into a child process, a child whose output we read, the interrupt
// request, the terminal test, the processor's name and folder handling.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "system/system.h"

extern char** environ;

struct ProcessPipe {
    pid_t pid;
    int fd;
};

std::string find_program(const std::string& name) {
    const char* const path = std::getenv("PATH");
    if (!path || name.empty() || name.find('/') != std::string::npos) return {};
    const std::string folders(path);
    size_t start = 0;
    for (;;) {
        const size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        // An empty entry is no folder here: a program is never taken from the
        // current folder by accident.
        if (!folder.empty()) {
            const std::string candidate = folder + "/" + name;
            struct stat info {};
            if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

namespace {

// Starts arguments[0] with the file actions given, in a process group of its
// own (a Ctrl-C at the terminal reaches only us) and with the default signal
// actions, whatever we set for our own signals.
bool spawn_child(const std::vector<std::string>& arguments, const posix_spawn_file_actions_t* actions, pid_t* pid,
                 std::string* error) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int result = posix_spawn(pid, argv[0], actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        *error = "cannot start " + arguments[0] + ": " + std::strerror(result);
        return false;
    }
    return true;
}

// Waits for the child; its exit code, or -1 when a signal ended it.
int wait_child(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A pipe to or from a child that will run arguments: fds[ours] stays with
// this process and is closed in every child, so no other child holds it
// open. False with a message when there is no program or no pipe.
bool open_child_pipe(const std::vector<std::string>& arguments, int fds[2], int ours, std::string* error) {
    if (arguments.empty()) {
        *error = "no program to start";
        return false;
    }
    if (pipe(fds) != 0) {
        *error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    fcntl(fds[ours], F_SETFD, FD_CLOEXEC);
    return true;
}

} // namespace

ProcessPipe* open_process_pipe(const std::vector<std::string>& arguments, std::string* error) {
    int fds[2];
    if (!open_child_pipe(arguments, fds, 1, error)) return nullptr;
    // A child that dies must not end us with SIGPIPE; writes then fail with EPIPE.
    std::signal(SIGPIPE, SIG_IGN);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    const bool started = spawn_child(arguments, &actions, &pid, error);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (!started) {
        close(fds[1]);
        return nullptr;
    }
    return new ProcessPipe{pid, fds[1]};
}

bool run_process_output(const std::vector<std::string>& arguments, std::string* output, int* exitCode,
                        std::string* error) {
    int fds[2];
    if (!open_child_pipe(arguments, fds, 0, error)) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    pid_t pid = 0;
    const bool started = spawn_child(arguments, &actions, &pid, error);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (!started) {
        close(fds[0]);
        return false;
    }
    // Read to the end, so that the child never blocks on a full pipe; what
    // goes beyond the limit is read and dropped.
    constexpr size_t Kept = size_t(1) << 20;
    output->clear();
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output->append(buffer, std::min(size_t(n), Kept - std::min(Kept, output->size())));
    }
    close(fds[0]);
    *exitCode = wait_child(pid);
    return true;
}

bool write_process_pipe(ProcessPipe* pipe, const void* bytes, size_t size) {
    const char* p = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = write(pipe->fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

int close_process_pipe(ProcessPipe* pipe, bool kill) {
    if (kill) ::kill(pipe->pid, SIGKILL);
    close(pipe->fd);
    const int code = wait_child(pipe->pid);
    delete pipe;
    return code;
}

namespace {
std::atomic<int> Interrupted{0};
void on_interrupt(int) { Interrupted.store(1); }
} // namespace

void install_interrupt_handler() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool interrupt_requested() { return Interrupted.load() != 0; }

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }
bool stderr_is_terminal() { return isatty(STDERR_FILENO) != 0; }

std::string cpu_model_name() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) != 0) continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const size_t start = line.find_first_not_of(" \t", colon + 1);
        if (start != std::string::npos) return line.substr(start);
    }
    return "unknown";
}

int32_t cpu_core_count() { return int32_t(std::thread::hardware_concurrency()); }

bool make_directory(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    *error = "cannot make the folder " + path + ": " + std::strerror(errno);
    return false;
}

std::FILE* create_unique_file(const std::string& prefix, const std::string& suffix, std::string* path,
                              std::string* error) {
    std::string name = prefix + "XXXXXX" + suffix;
    // mkstemps makes the file only where nothing is, so the name is ours alone.
    const int fd = mkstemps(name.data(), int(suffix.size()));
    if (fd < 0) {
        *error = "cannot make a file beside " + prefix + ": " + std::strerror(errno);
        return nullptr;
    }
    std::FILE* const file = fdopen(fd, "wb");
    if (!file) {
        *error = "cannot write " + name + ": " + std::strerror(errno);
        close(fd);
        std::remove(name.c_str());
        return nullptr;
    }
    *path = name;
    return file;
}

bool make_unique_directory(const std::string& prefix, const std::string& suffix, std::string* path,
                           std::string* error) {
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::mt19937 random(device());
    std::uniform_int_distribution<size_t> pick(0, sizeof Letters - 2);
    // mkdir makes a folder only where nothing is, so the name found is ours alone.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i) name += Letters[pick(random)];
        name += suffix;
        if (mkdir(name.c_str(), 0777) == 0) {
            *path = name;
            return true;
        }
        if (errno != EEXIST) {
            *error = "cannot make the folder " + name + ": " + std::strerror(errno);
            return false;
        }
    }
    *error = "cannot find a free name for the folder " + prefix + "XXXXXX" + suffix;
    return false;
}

bool directory_writable(const std::string& path, std::string* error) {
    if (!is_directory(path)) {
        *error = "the folder " + path + " does not exist";
        return false;
    }
    if (access(path.c_str(), W_OK | X_OK) != 0) {
        *error = "the folder " + path + " is not writable (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

bool file_writable(const std::string& path, std::string* error) {
    if (access(path.c_str(), W_OK) == 0) return true;
    *error = std::strerror(errno);
    return false;
}

void remove_tree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool rename_path(const std::string& from, const std::string& to, std::string* error) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        *error = "cannot rename " + from + " to " + to + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool is_path_separator(char c) { return c == '/'; }

size_t last_path_separator(const std::string& path) { return path.rfind('/'); }

bool path_exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool is_directory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
