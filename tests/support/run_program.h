// Running a program from a test on a POSIX system: arguments, extra
// environment, its exit code and what it printed.
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

// Starts program with args; extraEnvironment entries are NAME=VALUE.
inline Spawned spawn_program(const std::string& program, const std::vector<std::string>& args, const TempDir& logs,
                             const std::vector<std::string>& extraEnvironment = {}) {
    static int serial = 0;
    ++serial;
    Spawned spawned;
    spawned.outPath = logs / ("stdout_" + std::to_string(serial));
    spawned.errPath = logs / ("stderr_" + std::to_string(serial));
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    // Inherited variables give way to the extra ones of the same name.
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string& extra : extraEnvironment)
            replaced = replaced || entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0;
        if (!replaced) envStrings.push_back(entry);
    }
    envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, spawned.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, spawned.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawnp(&spawned.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) spawned.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return spawned;
}

// Waits for the program; with a time-out in milliseconds (0: none) it is
// killed when it overruns and the result's exit code is -1.
inline ProgramResult wait_program(const Spawned& spawned, int timeoutMs = 0) {
    ProgramResult result;
    if (spawned.pid < 0) return result;
    int status = 0;
    for (int waited = 0;; waited += 20) {
        const pid_t done = waitpid(spawned.pid, &status, timeoutMs > 0 ? WNOHANG : 0);
        if (done == spawned.pid) break;
        if (timeoutMs > 0 && waited >= timeoutMs) {
            kill(spawned.pid, SIGKILL);
            waitpid(spawned.pid, &status, 0);
            status = -1;
            break;
        }
        usleep(20000);
    }
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = read_text_file(spawned.outPath);
    result.err = read_text_file(spawned.errPath);
    return result;
}

inline ProgramResult run_program(const std::string& program, const std::vector<std::string>& args,
                                 const std::vector<std::string>& extraEnvironment = {}) {
    TempDir logs;
    return wait_program(spawn_program(program, args, logs, extraEnvironment), 120000);
}
