#!/usr/bin/env bash
# Installs what is missing, builds the demo alone (Release, no tests,
# optimised after a profile of its own show: see scripts/build-optimized.sh)
# in build-deb and packs it as dist/quorvalite_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}" dpkg-dev
scripts/build-optimized.sh build-deb
echo "== Packing it"
(cd build-deb && cpack)
ls -l dist/quorvalite_*_amd64.deb
