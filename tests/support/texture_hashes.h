// The committed hash lines of every base texture level
// (tests/content/texture_hashes.txt), checked by eye as PNG files once.
#pragma once

#include <string>
#include <vector>

#include "files.h"

inline std::vector<std::string> committed_texture_hashes() {
    std::vector<std::string> hashes;
    for (const std::string& line : lines_of(read_text_file(QUORVALITE_SOURCE_DIR "/tests/content/texture_hashes.txt")))
        if (!line.empty() && line[0] != '#') hashes.push_back(line);
    return hashes;
}
