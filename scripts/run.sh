#!/usr/bin/env bash
# Installs what is missing, builds the demo (Release) and runs it. Arguments
# are passed to the program, for example --window or --headless --frames 3.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages
echo "== Building the demo in build-release"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
cmake --build build-release -j "$QUORVALITE_JOBS" --target quorvalite
echo "== Running build-release/quorvalite $*"
exec build-release/quorvalite "$@"
