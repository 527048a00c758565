#!/usr/bin/env bash
# Installs what the demo needs and is missing, builds the demo alone (Release,
# no tests, optimised after a profile of its own show: see
# scripts/build-optimized.sh) in build/ and runs it. Arguments are passed to
# the program, for example --window or --headless --frames 3.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}"
scripts/build-optimized.sh build
echo "== Running build/quorvalite $*"
exec build/quorvalite "$@"
