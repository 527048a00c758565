// Running a program from a test on a POSIX system: arguments, extra
// environment (NAME=VALUE, replacing inherited ones), exit code and output.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "files.h"

extern char** environ;

struct ProgramResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

struct Spawned {
    pid_t pid = -1;
    std::string outPath;
    std::string errPath;
};

// Starts program with stdout and stderr in files in logs, or stderr to the
// file or terminal errPath where one is given; stdin is /dev/null.
inline Spawned spawn_program(const std::string& program, const std::vector<std::string>& args, const TempDir& logs,
                             const std::vector<std::string>& extraEnvironment = {}, const std::string& errPath = "") {
    static int serial = 0;
    ++serial;
    Spawned spawned{-1, logs / ("stdout_" + std::to_string(serial)),
                    errPath.empty() ? logs / ("stderr_" + std::to_string(serial)) : errPath};
    std::vector<std::string> argStrings{program}, envStrings;
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string& extra : extraEnvironment)
            replaced = replaced || entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0;
        if (!replaced) envStrings.push_back(entry);
    }
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> argv, envp;
    for (std::string& a : argStrings) argv.push_back(a.data());
    for (std::string& e : envStrings) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, spawned.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, spawned.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY,
                                     0644);
    if (posix_spawnp(&spawned.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) spawned.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return spawned;
}

// Polls condition every 20 ms until it holds or timeoutMs has passed.
template <typename Condition> bool wait_until(Condition condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs && !condition(); waited += 20) usleep(20000);
    return condition();
}

// Whether the child still runs; an ended child is left to be reaped.
inline bool alive(pid_t pid) {
    siginfo_t info{};
    return pid > 0 && waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

// Ends the child with the signal if it still runs, and reaps it.
inline void end_child(pid_t pid, int signal) {
    if (pid <= 0) return;
    if (alive(pid)) kill(pid, signal);
    waitpid(pid, nullptr, 0);
}

// Waits for the program; one that overruns timeoutMs (0: no limit) is killed.
inline ProgramResult wait_program(const Spawned& spawned, int timeoutMs = 0) {
    if (spawned.pid < 0) return {};
    if (timeoutMs > 0 && !wait_until([&] { return !alive(spawned.pid); }, timeoutMs)) kill(spawned.pid, SIGKILL);
    int status = 0;
    waitpid(spawned.pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text_file(spawned.outPath),
            read_text_file(spawned.errPath)};
}

inline ProgramResult run_program(const std::string& program, const std::vector<std::string>& args,
                                 const std::vector<std::string>& extraEnvironment = {}) {
    TempDir logs;
    return wait_program(spawn_program(program, args, logs, extraEnvironment), 120000);
}
