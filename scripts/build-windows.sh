#!/usr/bin/env bash
# Cross-builds the 64-bit Windows program on Debian with MinGW-w64 (Release,
# every warning an error, in build-win) and packs
# dist/quorvalite-<version>-win64.zip: quorvalite.exe, stripped, and
# README.txt. Installs what is missing first.
#   --with-tests  builds the test programs too (the windows stage of
#                 scripts/test.sh runs them under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

tests=OFF
[ "${1:-}" = "--with-tests" ] && tests=ON

install_missing_packages "${QUORVALITE_WINDOWS_PACKAGES[@]}"
echo "== Cross-building the Windows program in build-win"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DQUORVALITE_WERROR=ON -DQUORVALITE_BUILD_TESTS="$tests" > /dev/null
if [ "$tests" = ON ]; then
    cmake --build build-win -j "$QUORVALITE_JOBS"
else
    cmake --build build-win -j "$QUORVALITE_JOBS" --target quorvalite
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
name=quorvalite-$version-win64
staging=build-win/zip
rm -rf "$staging"
mkdir -p "$staging" dist
x86_64-w64-mingw32-strip -o "$staging/quorvalite.exe" build-win/quorvalite.exe
# Windows text: CR LF line ends, so that Notepad of any age shows the lines.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/windows/README.txt > "$staging/README.txt"
rm -f "dist/$name.zip"
(cd "$staging" && cmake -E tar cf "../../dist/$name.zip" --format=zip quorvalite.exe README.txt)
echo "== Wrote dist/$name.zip ($(stat -c %s "dist/$name.zip") bytes)"
