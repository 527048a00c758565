// The tools' door to the operating system: files and folders, whole-file
// writes, a child process with a pipe, interrupts, the terminal and facts
// about the machine. The frame loop never uses it; the modes around it
// (dumps, capture, the timedemo, the command line) do. One implementation
// per operating system (system_posix.cpp); atomic_write.cpp and png_file.cpp
// are built on it and the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// --- Files and folders -------------------------------------------------------

// True for a character that separates folders in a path: '/', and on
// Windows '\\' as well.
bool is_path_separator(char c);
// The position of the last separator in path, or std::string::npos.
size_t last_path_separator(const std::string& path);

bool path_exists(const std::string& path);
bool is_directory(const std::string& path);
// True when path is a folder in which this process may make files; false
// with the reason otherwise (missing, no permission, a read-only file system).
bool directory_writable(const std::string& path, std::string* error);
// True when path is a file that this process may write; false with the
// reason otherwise.
bool file_writable(const std::string& path, std::string* error);

// Creates a folder (one level); false with a message unless it was made.
bool make_directory(const std::string& path, std::string* error);
// Creates a new folder prefix + six random letters or digits + suffix, where
// nothing of that name was (so no other process holds it), with the usual
// permissions; its name in *path, or false with a message.
bool make_unique_directory(const std::string& prefix, const std::string& suffix, std::string* path,
                           std::string* error);
// Creates a new file prefix + six random letters or digits + suffix in the
// same way, open for writing in binary; its name in *path, or null with a
// message.
std::FILE* create_unique_file(const std::string& prefix, const std::string& suffix, std::string* path,
                              std::string* error);

// Renames a file or folder in one step; a file of the new name, or an empty
// folder, is replaced.
bool rename_path(const std::string& from, const std::string& to, std::string* error);
// Removes a file or a folder with everything in it; quiet when nothing is there.
void remove_tree(const std::string& path);

// --- Whole files ---------------------------------------------------------------

// Writes a file whole or not at all: write fills a new file made beside
// path under a name of its own (path.XXXXXX.part); when write succeeds and
// the file is closed, one rename gives it path's name, replacing a file of
// that name. On any failure the new file is removed and path is untouched.
// False with a message.
bool write_file_atomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                           std::string* error);

// Writes a PNG of width x height pixels 0x00RRGGBB (row length stride), whole
// or not at all. With alpha, texels of value 0 come out transparent.
bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height,
               int32_t stride, bool alpha, std::string* error);

// --- Child processes ---------------------------------------------------------

// The full path of an executable program of that name on PATH; empty when
// there is none.
std::string find_program(const std::string& name);

// A child process whose standard input is a pipe from us.
struct ProcessPipe;

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

// --- Interrupts and the terminal ---------------------------------------------

// After this, Ctrl-C and termination requests set a flag instead of ending
// the process; interrupt_requested reads it.
void install_interrupt_handler();
bool interrupt_requested();

bool stdout_is_terminal();
bool stderr_is_terminal();

// --- The machine ---------------------------------------------------------------

// The processor's model name as the system reports it, or "unknown".
std::string cpu_model_name();
int32_t cpu_core_count();
