#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test four ways:
#   1. Release build, the whole suite (the window tests run under their own Xvfb,
#      the full-disk capture tests on a small tmpfs);
#   2. valgrind memcheck of the Release program: a few frames of the headless
#      show and one picture from inside the house;
#   3. AddressSanitizer + UndefinedBehaviorSanitizer build, the whole suite;
#   4. ThreadSanitizer build of the threaded tests (test_frame, test_content).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}" "${QUORVALITE_TEST_PACKAGES[@]}"
start=$SECONDS
# The window tests and the full-disk tests must run here, not skip for want
# of Xvfb or of a tmpfs that can be mounted.
export QUORVALITE_REQUIRE_WINDOW_TEST=1
export QUORVALITE_REQUIRE_TMPFS_TEST=1

echo "== 1/4 Release build and all tests (build-release)"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
cmake --build build-release -j "$QUORVALITE_JOBS"
(cd build-release && ctest --output-on-failure -j "$QUORVALITE_JOBS")

echo "== 2/4 valgrind memcheck of the Release program (build-release)"
# Any error memcheck finds (a read of uninitialised memory, an invalid
# access, a block lost for good) fails the stage; each run takes seconds.
memcheck=(valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite)
pose_dir="$(mktemp -d)"
trap 'rm -rf "$pose_dir"' EXIT
echo "-- the first frames of the show"
"${memcheck[@]}" build-release/quorvalite --headless --frames 3
echo "-- a picture from inside the house, at the desk"
"${memcheck[@]}" build-release/quorvalite --headless --pose 8.9,2.9,-1.0,3.2987,-750 --out "$pose_dir"

echo "== 3/4 AddressSanitizer + UndefinedBehaviorSanitizer build and all tests (build-asan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_SANITIZE=address,undefined \
      -DQUORVALITE_BUILD_BENCH=OFF
cmake --build build-asan -j "$QUORVALITE_JOBS"
(cd build-asan && ctest --output-on-failure -j "$QUORVALITE_JOBS")

echo "== 4/4 ThreadSanitizer build of the threaded tests (build-tsan)"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_SANITIZE=thread -DQUORVALITE_BUILD_BENCH=OFF
tsan_tests=()
for name in frame content; do
    if compgen -G "tests/$name/*.cpp" >/dev/null; then tsan_tests+=("test_$name"); fi
done
cmake --build build-tsan -j "$QUORVALITE_JOBS" --target "${tsan_tests[@]}"
for test in "${tsan_tests[@]}"; do
    echo "-- $test under ThreadSanitizer"
    TSAN_OPTIONS="halt_on_error=1" "build-tsan/tests/$test"
done

echo "== All tests passed in $((SECONDS - start)) s."
