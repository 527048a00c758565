// Whole files or none: everything the tools write goes through here.
#include <cerrno>
#include <cstring>

#include "system/system.h"

bool write_file_atomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                           std::string* error) {
    std::string temporary;
    std::FILE* const file = create_unique_file(path + ".", ".part", &temporary, error);
    if (!file) return false;
    errno = 0;
    bool ok = write(file);
    const int writeErrno = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        const int cause = writeErrno ? writeErrno : errno;
        *error = "cannot write " + path + (cause ? std::string(": ") + std::strerror(cause) : std::string());
        std::remove(temporary.c_str());
        return false;
    }
    if (!rename_path(temporary, path, error)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
