#!/usr/bin/env bash
# Installs what the demo needs and is missing, builds the demo alone (Release,
# no tests) in build/ and runs it. Arguments are passed to the program, for
# example --window or --headless --frames 3.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}"
echo "== Building the demo in build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_BUILD_TESTS=OFF -DQUORVALITE_BUILD_BENCH=OFF
cmake --build build -j "$QUORVALITE_JOBS" --target quorvalite
echo "== Running build/quorvalite $*"
exec build/quorvalite "$@"
