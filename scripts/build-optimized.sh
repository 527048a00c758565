#!/usr/bin/env bash
# Builds the demo alone (Release, no tests) optimised after a profile of its
# own show, in three steps:
#   1. BUILD-profile: a build that counts which way each branch goes;
#   2. that build plays the whole show headless at 6 frames a second of show
#      time (about 860 frames, a minute on two cores) and writes its counts
#      into BUILD-profile/counts;
#   3. BUILD: the demo built from those counts, as BUILD/quorvalite.
# Steps 2 and 3 are done again only when step 1 rebuilt the program.
#
#   scripts/build-optimized.sh BUILD [SOURCE]    (SOURCE: the top of a tree, default .)
#
# Expects cmake and the compiler in place (scripts/setup.sh installs them).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: scripts/build-optimized.sh BUILD [SOURCE]" >&2
    exit 2
fi
build="$1"
tree="${2:-.}"
jobs="$QUORVALITE_JOBS"
profile="$build-profile"
mkdir -p "$profile"
counts="$(cd "$profile" && pwd)/counts"
common=(-DCMAKE_BUILD_TYPE=Release -DQUORVALITE_BUILD_TESTS=OFF -DQUORVALITE_BUILD_BENCH=OFF
        -DQUORVALITE_PROFILE_DATA="$counts")

echo "== Building the profiling demo in $profile"
cmake -S "$tree" -B "$profile" "${common[@]}" -DQUORVALITE_PROFILE=generate >/dev/null
cmake --build "$profile" -j "$jobs" --target quorvalite

fresh=()
if [ ! -e "$counts/trained" ] || [ "$profile/quorvalite" -nt "$counts/trained" ]; then
    echo "== Profiling: the show played headless at 6 frames a second, counts into $counts"
    rm -rf "$counts"
    mkdir -p "$counts"
    "$profile/quorvalite" --headless --fps 6 >/dev/null
    touch "$counts/trained"
    fresh=(--clean-first)
fi

echo "== Building the demo from the profile in $build"
cmake -S "$tree" -B "$build" "${common[@]}" -DQUORVALITE_PROFILE=use >/dev/null
cmake --build "$build" -j "$jobs" --target quorvalite "${fresh[@]}"
