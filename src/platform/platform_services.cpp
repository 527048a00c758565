// POSIX implementations of the capture and benchmark services.
#include "platform/platform_services.h"

#include <SDL.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

struct ProcessPipe {
    pid_t pid;
    int fd;
};

ProcessPipe* open_process_pipe(const std::vector<std::string>& arguments, bool* missingProgram,
                               std::string* error) {
    *missingProgram = false;
    if (arguments.empty()) return nullptr;
    int fds[2];
    if (pipe(fds) != 0) {
        *error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return nullptr;
    }
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    // A child that dies must not kill us with SIGPIPE; writes then fail with EPIPE.
    std::signal(SIGPIPE, SIG_IGN);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int result = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (result != 0) {
        close(fds[1]);
        *missingProgram = result == ENOENT;
        *error = "cannot start " + arguments[0] + ": " + std::strerror(result);
        return nullptr;
    }
    return new ProcessPipe{pid, fds[1]};
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

int close_process_pipe(ProcessPipe* pipe) {
    close(pipe->fd);
    int status = 0;
    while (waitpid(pipe->pid, &status, 0) < 0 && errno == EINTR) {
    }
    delete pipe;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
std::atomic<int> interrupted{0};
void on_interrupt(int) { interrupted.store(1); }
} // namespace

void install_interrupt_handler() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool interrupt_requested() { return interrupted.load() != 0; }

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }

std::string cpu_model_name() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            if (colon != std::string::npos) return line.substr(line.find_first_not_of(" \t", colon + 1));
        }
    }
    return "unknown";
}

int32_t cpu_core_count() { return int32_t(std::thread::hardware_concurrency()); }

bool decode_sound(const SoundImage& sound, std::vector<int16_t>* samples, int32_t* sampleRate,
                  std::string* error) {
    if (!sound.bytes || sound.size == 0) {
        *error = std::string("sound ") + sound.name + " is empty";
        return false;
    }
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(sound.bytes, int(sound.size));
    if (!SDL_LoadWAV_RW(source, 1, &spec, &buffer, &length)) {
        *error = std::string("cannot read sound ") + sound.name + ": " + SDL_GetError();
        return false;
    }
    bool ok = spec.format == AUDIO_S16LSB && spec.channels == 1;
    if (ok) {
        samples->resize(length / 2);
        std::memcpy(samples->data(), buffer, samples->size() * 2);
        *sampleRate = spec.freq;
    } else {
        *error = std::string("sound ") + sound.name + " is not 16-bit mono";
    }
    SDL_FreeWAV(buffer);
    return ok;
}

bool make_directory(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    struct stat info {};
    if (errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
    *error = "cannot create folder " + path + ": " + std::strerror(errno);
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

bool path_exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}
