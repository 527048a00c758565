# The header-only libraries of a Windows build, taken from the build
# machine's Debian packages (libcli11-dev, libstb-dev). Their folders sit in
# /usr/include beside glibc's headers, which a Windows compile must never
# see, so each is reached through a folder of its own.
set(header_root ${CMAKE_BINARY_DIR}/windows-headers)
file(MAKE_DIRECTORY ${header_root})
if(NOT EXISTS /usr/include/CLI/CLI.hpp)
  message(FATAL_ERROR "CLI11 is missing: install libcli11-dev")
endif()
file(CREATE_LINK /usr/include/CLI ${header_root}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${header_root})

if(NOT EXISTS /usr/include/stb/stb_image_write.h)
  message(FATAL_ERROR "stb is missing: install libstb-dev")
endif()
add_library(stb::headers INTERFACE IMPORTED)
target_include_directories(stb::headers SYSTEM INTERFACE /usr/include/stb)
