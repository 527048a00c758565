// Running the built program with its standard error on a pseudo-terminal, as
// a user at a terminal has it, and reading what the terminal was shown.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>

#include "../support/run_program.h"

struct TerminalRun {
    pid_t pid = -1;
    int master = -1;     // closed on exec: the program holds only the other end
    std::string outPath; // standard output goes to this file
    std::string shown;   // what the terminal received so far
    int status = -1;     // the wait status once it ended
    bool ended = false;
};

inline TerminalRun start_on_terminal(const std::string& program, const std::vector<std::string>& args,
                                     const TempDir& logs) {
    TerminalRun run;
    run.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (run.master < 0 || grantpt(run.master) != 0 || unlockpt(run.master) != 0) return run;
    const Spawned spawned = spawn_program(program, args, logs, {}, ptsname(run.master));
    run.pid = spawned.pid;
    run.outPath = spawned.outPath;
    return run;
}

// Reads what the terminal was shown for up to waitMs; true while the program runs.
inline bool watch_terminal(TerminalRun& run, int waitMs) {
    if (run.pid < 0) return false;
    pollfd ready{run.master, POLLIN, 0};
    char buffer[4096];
    for (int wait = waitMs; poll(&ready, 1, wait) > 0 && (ready.revents & POLLIN); wait = 0) {
        const ssize_t got = read(run.master, buffer, sizeof buffer);
        if (got <= 0) break;
        run.shown.append(buffer, size_t(got));
    }
    if (!run.ended && waitpid(run.pid, &run.status, WNOHANG) == run.pid) run.ended = true;
    return !run.ended;
}

// Waits up to timeoutMs for the program to end (killing it when it overruns)
// and returns its exit code, its stdout and what the terminal showed as err.
inline ProgramResult finish_on_terminal(TerminalRun& run, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    while (watch_terminal(run, 50))
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs)) {
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &run.status, 0);
            run.status = -1, run.ended = true;
        }
    watch_terminal(run, 0); // what was left in the terminal after the end
    if (run.master >= 0) close(run.master);
    run.master = -1;
    const bool exited = run.status != -1 && WIFEXITED(run.status);
    return {exited ? WEXITSTATUS(run.status) : -1, read_text_file(run.outPath), run.shown};
}
