#!/usr/bin/env bash
# Installs what is missing, builds the demo alone (Release, no tests) in
# build-deb and packs it as dist/quorvalite_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}" dpkg-dev
echo "== Building the demo in build-deb"
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_BUILD_TESTS=OFF -DQUORVALITE_BUILD_BENCH=OFF
cmake --build build-deb -j "$QUORVALITE_JOBS" --target quorvalite
echo "== Packing it"
(cd build-deb && cpack)
ls -l dist/quorvalite_*_amd64.deb
