// The tools' door to the operating system: files and folders, PNG files, a
// child process with a pipe, interrupts, the terminal and facts about the
// machine. The frame loop never uses it; the modes around it (dumps,
// capture, the timedemo, the command line) do. One implementation per
// operating system: system_posix.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// --- Files -----------------------------------------------------------------

// Writes a PNG of width x height pixels 0x00RRGGBB (row length stride). With
// alpha, texels of value 0 come out transparent. Writes under a temporary name
// and renames, so a failed write leaves nothing behind.
bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
               int32_t stride, bool alpha, std::string* error);

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
// True when path is a file that this process may write; false with the
// reason otherwise.
bool file_writable(const std::string& path, std::string* error);
// Removes a file or a folder with everything in it; quiet when nothing is there.
void remove_tree(const std::string& path);
// Renames a file or folder; a file of the new name, or an empty folder, is replaced.
bool rename_path(const std::string& from, const std::string& to, std::string* error);
bool path_exists(const std::string& path);
bool is_directory(const std::string& path);
