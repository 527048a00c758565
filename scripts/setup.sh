# Sourced by run.sh and test.sh: installs the Debian packages that the build,
# the demo and the tests need, when any of them is missing.
set -euo pipefail

# What building and running the demo needs; --capture encodes its video
# with ffmpeg.
QUORVALITE_PACKAGES=(cmake g++ pkg-config libsdl2-dev libpng-dev libcli11-dev ffmpeg)
# What the tests need besides: GoogleTest and Google Benchmark, a virtual X
# server, a key sender and Xlib (to close a window) for the window tests,
# independent WAV readers, valgrind's memcheck, and dpkg-dev to pack the
# Debian package.
QUORVALITE_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xdotool libx11-dev python3 valgrind dpkg-dev)
# What the Windows build needs (scripts/build-windows.sh and the test
# command's windows stage), and nothing else does: MinGW-w64, the
# header-only CLI11 and stb and MinGW's zlib, GoogleTest's sources, and Wine
# to run the tests.
QUORVALITE_WINDOWS_PACKAGES=(cmake g++-mingw-w64-x86-64-posix libcli11-dev libstb-dev libz-mingw-w64-dev googletest
                             wine wine64)

# Installs those of the packages named (by default QUORVALITE_PACKAGES) that
# are missing.
install_missing_packages() {
    local wanted=("$@")
    if [ ${#wanted[@]} -eq 0 ]; then wanted=("${QUORVALITE_PACKAGES[@]}"); fi
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "== All needed packages are installed."
        return
    fi
    local run_as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages: ${missing[*]}. Run this script as root to install them." >&2
            exit 1
        fi
        run_as_root=(sudo)
    fi
    echo "== Installing the missing packages: ${missing[*]}"
    "${run_as_root[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

QUORVALITE_JOBS="$(nproc)"
