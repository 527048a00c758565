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
    int master = -1;
    std::string outPath; // standard output goes to this file
    std::string shown;   // what the terminal received so far
    int status = -1;     // the wait status once it ended
    bool ended = false;
};

inline TerminalRun start_on_terminal(const std::string& program, const std::vector<std::string>& args,
                                     const TempDir& logs) {
    TerminalRun run;
    run.outPath = logs / "terminal_stdout";
    run.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (run.master < 0 || grantpt(run.master) != 0 || unlockpt(run.master) != 0) return run;
    const std::string terminal = ptsname(run.master);
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, run.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, terminal.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addclose(&actions, run.master);
    if (posix_spawnp(&run.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) run.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Reads what the terminal was shown for up to waitMs and notes whether the
// program has ended; true while it runs.
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

// Waits up to timeoutMs for the program to end, reading the terminal (it is
// killed when it overruns), and returns its exit code (-1 when it did not
// exit normally), what it printed on stdout and what the terminal showed.
inline ProgramResult finish_on_terminal(TerminalRun& run, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    while (watch_terminal(run, 50))
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs)) {
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &run.status, 0);
            run.ended = true;
            run.status = -1;
        }
    watch_terminal(run, 0); // what was left in the terminal after the end
    if (run.master >= 0) close(run.master);
    run.master = -1;
    ProgramResult result;
    if (run.status != -1 && WIFEXITED(run.status)) result.exitCode = WEXITSTATUS(run.status);
    result.out = read_text_file(run.outPath);
    result.err = run.shown;
    return result;
}
