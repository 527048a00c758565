// Windows implementations of the services that capture and benchmarking use:
// files and folders, a pipe into a child process, a child whose output we
// read, the interrupt request, the console test, the processor's name.
// Paths go to the ANSI ("A") calls as the program was given them.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>

#include "system/system.h"

struct ProcessPipe {
    HANDLE process;
    HANDLE input;
};

namespace {

// The system's text for an error code, without the line break after it.
std::string error_text(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

std::string last_error_text() { return error_text(GetLastError()); }

bool is_file(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Six random letters or digits for a new name.
std::string random_letters() {
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 random(std::random_device{}() ^ GetCurrentProcessId());
    std::uniform_int_distribution<size_t> pick(0, sizeof Letters - 2);
    std::string letters;
    for (int i = 0; i < 6; ++i) letters += Letters[pick(random)];
    return letters;
}

bool name_taken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// One argument quoted so that the child's runtime splits its command line
// back into exactly this string: backslashes are literal except before a
// quote, where they are doubled, and the quote itself is escaped.
std::string quote_argument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string command_line(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) line += (line.empty() ? "" : " ") + quote_argument(argument);
    return line;
}

// An inheritable copy of a handle for a child, or null.
HANDLE inheritable_copy(HANDLE original) {
    if (original == nullptr || original == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), original, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

void close_if_open(HANDLE handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

// A pipe whose one end (childEnd) a child inherits; our end is not inherited,
// so that the child sees the end of its input when we close ours.
bool make_pipe(HANDLE* readEnd, HANDLE* writeEnd, bool childReads, std::string* error) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!CreatePipe(readEnd, writeEnd, &inherit, 1 << 20)) {
        *error = "cannot create a pipe: " + last_error_text();
        return false;
    }
    SetHandleInformation(childReads ? *writeEnd : *readEnd, HANDLE_FLAG_INHERIT, 0);
    return true;
}

// The child's standard handles, which it inherits.
struct ChildHandles {
    HANDLE input;
    HANDLE output;
    HANDLE error;
};

// Starts arguments[0] in a process group of its own (a Ctrl-C at the console
// reaches only us); the child's thread handle is closed at once.
bool start_child(const std::vector<std::string>& arguments, const ChildHandles& handles, HANDLE* process,
                 std::string* error) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles.input;
    startup.hStdOutput = handles.output;
    startup.hStdError = handles.error;
    std::string line = command_line(arguments);
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(arguments[0].c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
                        nullptr, &startup, &child)) {
        *error = "cannot start " + arguments[0] + ": " + last_error_text();
        return false;
    }
    CloseHandle(child.hThread);
    *process = child.hProcess;
    return true;
}

// Waits for the child and closes its handle; its exit code, or -1 when it
// was ended from outside (killed).
int wait_child(HANDLE process, bool killed) {
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    const bool known = GetExitCodeProcess(process, &code) != 0;
    CloseHandle(process);
    return !known || killed ? -1 : int(code);
}

} // namespace

// --- Files and folders -------------------------------------------------------

bool is_path_separator(char c) { return c == '/' || c == '\\'; }

size_t last_path_separator(const std::string& path) { return path.find_last_of("/\\"); }

bool path_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool is_directory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Windows decides by the folder's access list, which no attribute shows: a
// file made there (and removed again on closing) is the answer.
bool directory_writable(const std::string& path, std::string* error) {
    if (!is_directory(path)) {
        *error = "the folder " + path + " does not exist";
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string probe = path + "\\.quorvalite-probe-" + random_letters();
        const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (!name_taken(GetLastError())) break;
    }
    *error = "the folder " + path + " is not writable (" + last_error_text() + ")";
    return false;
}

bool file_writable(const std::string& path, std::string* error) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = last_error_text();
        return false;
    }
    CloseHandle(file);
    return true;
}

bool make_directory(const std::string& path, std::string* error) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    *error = "cannot make the folder " + path + ": " + last_error_text();
    return false;
}

// CreateDirectoryA makes a folder only where nothing is, so the name found
// is ours alone.
bool make_unique_directory(const std::string& prefix, const std::string& suffix, std::string* path,
                           std::string* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + random_letters() + suffix;
        if (CreateDirectoryA(name.c_str(), nullptr)) {
            *path = name;
            return true;
        }
        if (!name_taken(GetLastError())) {
            *error = "cannot make the folder " + name + ": " + last_error_text();
            return false;
        }
    }
    *error = "cannot find a free name for the folder " + prefix + "XXXXXX" + suffix;
    return false;
}

// CREATE_NEW makes the file only where nothing is, so the name is ours alone.
std::FILE* create_unique_file(const std::string& prefix, const std::string& suffix, std::string* path,
                              std::string* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + random_letters() + suffix;
        const HANDLE handle =
            CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (name_taken(GetLastError())) continue;
            *error = "cannot make a file beside " + prefix + ": " + last_error_text();
            return nullptr;
        }
        const int descriptor = _open_osfhandle(intptr_t(handle), _O_WRONLY | _O_BINARY);
        std::FILE* const file = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
        if (!file) {
            *error = "cannot write " + name;
            if (descriptor >= 0) _close(descriptor);
            else CloseHandle(handle);
            DeleteFileA(name.c_str());
            return nullptr;
        }
        *path = name;
        return file;
    }
    *error = "cannot find a free name for a file beside " + prefix;
    return nullptr;
}

// A file replaces a file in one step, as on POSIX systems; a file never
// replaces a folder. A folder cannot be moved over another one, so an empty
// folder in a folder's way is removed first (RemoveDirectoryA leaves a
// folder that is not empty, and the move then fails).
bool rename_path(const std::string& from, const std::string& to, std::string* error) {
    if (is_directory(from) && is_directory(to)) RemoveDirectoryA(to.c_str());
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    *error = "cannot rename " + from + " to " + to + ": " + last_error_text();
    return false;
}

void remove_tree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// --- Child processes ---------------------------------------------------------

// A bare name means the .exe of that name, as the command prompt finds it.
std::string find_program(const std::string& name) {
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos) return {};
    const std::string file = name.find('.') == std::string::npos ? name + ".exe" : name;
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return {};
    std::string folders(size, '\0');
    folders.resize(GetEnvironmentVariableA("PATH", folders.data(), size));
    size_t start = 0;
    for (;;) {
        const size_t end = folders.find(';', start);
        std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        // Entries may be quoted; an empty entry is no folder here, so a
        // program is never taken from the current folder by accident.
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty()) {
            const char last = folder.back();
            const std::string candidate = folder + (last == '\\' || last == '/' ? "" : "\\") + file;
            if (is_file(candidate)) return candidate;
        }
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

ProcessPipe* open_process_pipe(const std::vector<std::string>& arguments, std::string* error) {
    if (arguments.empty()) {
        *error = "no program to start";
        return nullptr;
    }
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!make_pipe(&readEnd, &writeEnd, true, error)) return nullptr;
    // The child writes its messages where ours go.
    const ChildHandles handles{readEnd, inheritable_copy(GetStdHandle(STD_OUTPUT_HANDLE)),
                               inheritable_copy(GetStdHandle(STD_ERROR_HANDLE))};
    HANDLE process = nullptr;
    const bool started = start_child(arguments, handles, &process, error);
    close_if_open(handles.input);
    close_if_open(handles.output);
    close_if_open(handles.error);
    if (!started) {
        CloseHandle(writeEnd);
        return nullptr;
    }
    return new ProcessPipe{process, writeEnd};
}

bool write_process_pipe(ProcessPipe* pipe, const void* bytes, size_t size) {
    const char* p = static_cast<const char*>(bytes);
    while (size > 0) {
        const DWORD chunk = DWORD(std::min<size_t>(size, size_t(1) << 30));
        DWORD written = 0;
        // A child that has gone away makes this fail (ERROR_NO_DATA or
        // ERROR_BROKEN_PIPE); nothing ends our process.
        if (!WriteFile(pipe->input, p, chunk, &written, nullptr)) return false;
        p += written;
        size -= written;
    }
    return true;
}

int close_process_pipe(ProcessPipe* pipe, bool kill) {
    const bool killed = kill && TerminateProcess(pipe->process, 1) != 0;
    CloseHandle(pipe->input);
    const int code = wait_child(pipe->process, killed);
    delete pipe;
    return code;
}

bool run_process_output(const std::vector<std::string>& arguments, std::string* output, int* exitCode,
                        std::string* error) {
    if (arguments.empty()) {
        *error = "no program to start";
        return false;
    }
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!make_pipe(&readEnd, &writeEnd, false, error)) return false;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE process = nullptr;
    const bool started = start_child(arguments, ChildHandles{nothing, writeEnd, writeEnd}, &process, error);
    close_if_open(nothing);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    // Read to the end, so that the child never blocks on a full pipe; what
    // goes beyond the limit is read and dropped.
    constexpr size_t Kept = size_t(1) << 20;
    output->clear();
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output->append(buffer, std::min(size_t(n), Kept - std::min(Kept, output->size())));
    CloseHandle(readEnd);
    *exitCode = wait_child(process, false);
    return true;
}

// --- Interrupts and the terminal ---------------------------------------------

namespace {

std::atomic<int> Interrupted{0};

// Runs on a thread that the system starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        Interrupted.store(1);
        // For a closed console the system ends the process when this
        // returns; the wait gives the work in progress time to clean up.
        if (event == CTRL_CLOSE_EVENT) Sleep(2000);
        return TRUE;
    default: return FALSE;
    }
}

// A console that shows our line rewriting (carriage return, ESC[K): virtual
// terminal processing is switched on where the console has it.
bool is_terminal(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

} // namespace

void install_interrupt_handler() { SetConsoleCtrlHandler(on_console_event, TRUE); }

bool interrupt_requested() { return Interrupted.load() != 0; }

// A file, a pipe or the NUL device (which the runtime's _isatty calls a
// character device) is no terminal; nor is an old console without escape
// sequences, which gets plain lines.
bool stdout_is_terminal() { return is_terminal(STD_OUTPUT_HANDLE); }
bool stderr_is_terminal() { return is_terminal(STD_ERROR_HANDLE); }

// --- The machine ---------------------------------------------------------------

std::string cpu_model_name() {
    char name[256] = {};
    DWORD size = sizeof name;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "ProcessorNameString",
                     RRF_RT_REG_SZ, nullptr, name, &size) != ERROR_SUCCESS)
        return "unknown";
    const std::string text(name);
    const size_t start = text.find_first_not_of(' ');
    const size_t end = text.find_last_not_of(' ');
    return start == std::string::npos ? "unknown" : text.substr(start, end - start + 1);
}

int32_t cpu_core_count() { return int32_t(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)); }
