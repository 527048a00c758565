// Writing the base textures out as PNG files.
#pragma once

#include <string>

// Generates the content unless that has been done, then writes every base
// texture and mip level as PNG files into dir and prints one hash line per
// level; returns the process exit code. Levels without rows get their hash
// line but no file; on any failure nothing is left behind.
int dump_textures(const std::string& dir);
