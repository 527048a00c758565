#!/usr/bin/env bash
# Installs what is missing, then builds and runs the tests in stages:
#   release   Release build with every warning an error, the whole suite (the
#             window tests under their own Xvfb, the full-disk capture tests
#             on a small tmpfs);
#   memcheck  valgrind memcheck of the Release program: a few frames of the
#             headless show and one picture from inside the house;
#   asan      AddressSanitizer + UndefinedBehaviorSanitizer build, the whole suite;
#   tsan      ThreadSanitizer build of the threaded tests (test_frame, test_content);
#   deb       the Debian package: its contents and dependencies, and the
#             program installed from it into a scratch root, run headless,
#             its frames held to the Release build's;
#   windows   the Windows program, cross-built with MinGW-w64 and packed as
#             dist/quorvalite-<version>-win64.zip, its unit tests under Wine,
#             and its trace, frames, textures, captures, window and sounds
#             held to the Linux program's (scripts/test-windows.sh).
# Without arguments every stage runs, in this order; with names, those stages
# (for example ./scripts/test.sh asan).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

all_stages=(release memcheck asan tsan deb windows)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
    if [[ ! " ${all_stages[*]} " =~ " $stage " ]]; then
        echo "unknown stage \"$stage\"; the stages are: ${all_stages[*]}" >&2
        exit 2
    fi
done

install_missing_packages "${QUORVALITE_PACKAGES[@]}" "${QUORVALITE_TEST_PACKAGES[@]}"
start=$SECONDS
# The window tests and the full-disk tests must run here, not skip for want
# of Xvfb or of a tmpfs that can be mounted.
export QUORVALITE_REQUIRE_WINDOW_TEST=1
export QUORVALITE_REQUIRE_TMPFS_TEST=1

build_release() {
    cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_WERROR=ON
    cmake --build build-release -j "$QUORVALITE_JOBS"
}

stage_release() {
    echo "== release: Release build, warnings as errors, and all tests (build-release)"
    build_release
    (cd build-release && ctest --output-on-failure -j "$QUORVALITE_JOBS")
}

stage_memcheck() {
    echo "== memcheck: valgrind memcheck of the Release program (build-release)"
    build_release
    # Any error memcheck finds (a read of uninitialised memory, an invalid
    # access, a block lost for good) fails the stage; each run takes seconds.
    local memcheck=(valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite)
    local pose_dir
    pose_dir="$(mktemp -d)"
    echo "-- the first frames of the show"
    "${memcheck[@]}" build-release/quorvalite --headless --frames 3
    echo "-- a picture from inside the house, at the desk"
    "${memcheck[@]}" build-release/quorvalite --headless --pose 8.9,2.9,-1.0,3.2987,-750 --out "$pose_dir"
    rm -rf "$pose_dir"
}

stage_asan() {
    echo "== asan: AddressSanitizer + UndefinedBehaviorSanitizer build and all tests (build-asan)"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_SANITIZE=address,undefined \
          -DQUORVALITE_BUILD_BENCH=OFF
    cmake --build build-asan -j "$QUORVALITE_JOBS"
    (cd build-asan && ctest --output-on-failure -j "$QUORVALITE_JOBS")
}

stage_tsan() {
    echo "== tsan: ThreadSanitizer build of the threaded tests (build-tsan)"
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_SANITIZE=thread -DQUORVALITE_BUILD_BENCH=OFF
    local tests=(test_frame test_content)
    cmake --build build-tsan -j "$QUORVALITE_JOBS" --target "${tests[@]}"
    local test
    for test in "${tests[@]}"; do
        echo "-- $test under ThreadSanitizer"
        TSAN_OPTIONS="halt_on_error=1" "build-tsan/tests/$test"
    done
}

stage_deb() {
    echo "== deb: the Debian package (build-deb, dist)"
    rm -f dist/quorvalite_*_amd64.deb
    ./scripts/build-deb.sh
    local package
    package="$(ls dist/quorvalite_*_amd64.deb)"
    echo "-- $package: contents and dependencies"
    dpkg-deb -c "$package" | grep -q '\./usr/bin/quorvalite$'
    local depends
    depends="$(dpkg-deb -f "$package" Depends)"
    local needed
    for needed in libsdl2-2.0-0 libpng16-16; do
        if [[ "$depends" != *"$needed"* ]]; then
            echo "the package does not depend on $needed: $depends" >&2
            return 1
        fi
    done
    echo "-- the installed program, headless"
    local root
    root="$(mktemp -d)"
    dpkg-deb -x "$package" "$root"
    "$root/usr/bin/quorvalite" --headless --frames 3 --dump 3 --out "$root/frames" --trace "$root/trace.txt"
    [ "$(grep -c '^frame ' "$root/trace.txt")" -eq 3 ]
    python3 - "$root/frames/frame_000003.png" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
width, height = struct.unpack(">II", data[16:24])
assert (width, height) == (1920, 1080), f"a {width} x {height} picture"
PY
    # The package's program is built after a profile of the show; its
    # pictures must be the Release build's, byte for byte, across the show.
    echo "-- the installed program's frames against the Release build's"
    build_release
    local frames=(1 600 1200 1800 2400 3200 3700 4090)
    local list
    list="$(IFS=,; echo "${frames[*]}")"
    "$root/usr/bin/quorvalite" --headless --frames 4090 --dump "$list" --out "$root/packaged" >/dev/null
    build-release/quorvalite --headless --frames 4090 --dump "$list" --out "$root/release" >/dev/null
    # Each frame asked for must exist in both folders and be the same file.
    local frame name
    for frame in "${frames[@]}"; do
        name="$(printf 'frame_%06d.png' "$frame")"
        cmp "$root/release/$name" "$root/packaged/$name"
    done
    rm -rf "$root"
}

stage_windows() {
    echo "== windows: the Windows build under Wine, held to the Linux build (build-win, build-release)"
    scripts/test-windows.sh
}

for stage in "${stages[@]}"; do
    "stage_$stage"
done
echo "== Passed: ${stages[*]}, in $((SECONDS - start)) s."
