// Operating-system services for capture and benchmarking: a pipe into a child
// process, the interrupt request, the terminal test, the machine's name for
// its processor, and decoding of the embedded sound images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A child process whose standard input is a pipe from us.
struct ProcessPipe;

// Starts the program (found on PATH) with the arguments; null with a message
// in *error when it cannot be started. missingProgram is set when the program
// was not found at all.
ProcessPipe* open_process_pipe(const std::vector<std::string>& arguments, bool* missingProgram,
                               std::string* error);
// Writes all bytes; false when the child has gone away.
bool write_process_pipe(ProcessPipe* pipe, const void* bytes, size_t size);
// Closes the pipe and waits; returns the child's exit code (-1 when killed).
int close_process_pipe(ProcessPipe* pipe);

// After this, Ctrl-C (and termination requests) set a flag instead of ending
// the process; interrupt_requested reads it.
void install_interrupt_handler();
bool interrupt_requested();

bool stdout_is_terminal();

// The processor's model name as the system reports it, or "unknown".
std::string cpu_model_name();
int32_t cpu_core_count();

// Decodes a WAV image to mono 16-bit samples; false with a message on failure.
bool decode_sound(const SoundImage& sound, std::vector<int16_t>* samples, int32_t* sampleRate,
                  std::string* error);

// Creates a folder (one level); true if it exists afterwards.
bool make_directory(const std::string& path, std::string* error);
// Removes a file or a folder with everything in it; quiet when nothing is there.
void remove_tree(const std::string& path);
// Renames a file or folder; a file of the new name is replaced.
bool rename_path(const std::string& from, const std::string& to, std::string* error);
bool path_exists(const std::string& path);
