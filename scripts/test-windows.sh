#!/usr/bin/env bash
# The test command's windows stage (./scripts/test.sh windows): the Windows
# program, cross-built with MinGW-w64 and packed by scripts/build-windows.sh,
# run under Wine and held to the Linux build of the same sources:
#   - it imports only DLLs that come with Windows;
#   - the unit tests, cross-built, pass under Wine;
#   - its headless trace of 5,600 frames at 60 frames a second, sound cues
#     included, equals the Linux program's byte for byte, and its frames
#     outside, inside, at the terminal, in the tunnel and at the credits
#     equal the Linux frames pixel for pixel (decoded, since the two PNG
#     encoders differ);
#   - its texture hashes equal the Linux program's and the committed ones;
#   - a capture into a folder writes every frame and the same audio.wav as
#     Linux; a capture to a video sends the same frames and sound track
#     through the pipe to a stand-in ffmpeg.exe found on PATH;
#   - under Xvfb, the Linux window tests run it: the whole picture shows,
#     full screen and letterboxed, a display without a 1920 x 1080 mode is
#     refused with a notice, ESC and closing the window end it with 0;
#   - the sounds it plays reach a recording sound device whole, in the order
#     of its trace.
# Any difference fails the stage; the files are kept in the folder it names.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/setup.sh

install_missing_packages "${QUORVALITE_PACKAGES[@]}" "${QUORVALITE_TEST_PACKAGES[@]}" "${QUORVALITE_WINDOWS_PACKAGES[@]}"
scripts/build-windows.sh --with-tests
exe=$root/build-win/zip/quorvalite.exe
encoder=$root/build-win/tools/stand_in_encoder/stand_in_encoder.exe

echo "== The Linux program to compare with, and its window tests (build-release)"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_WERROR=ON > /dev/null
cmake --build build-release -j "$QUORVALITE_JOBS" --target quorvalite test_window stand_in_encoder
linux=$root/build-release/quorvalite

work=$(mktemp -d /tmp/quorvalite-windows.XXXXXX)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=""
finish() {
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    wineserver -k 2> /dev/null || true
}
trap finish EXIT
failures=()
fail() {
    echo "FAIL: $*"
    failures+=("$*")
}
# Runs the Windows program with the folder given as the current one.
win() {
    local folder=$1
    shift
    (cd "$folder" && DISPLAY= wine "$exe" "$@")
}
# The pixels of a PNG file, decoded.
pixels() { ffmpeg -v error -i "$1" -f rawvideo -pix_fmt rgb24 - | sha256sum | cut -d' ' -f1; }

echo "-- a Wine prefix in $WINEPREFIX"
DISPLAY= wine wineboot --init > "$work/wineboot.log" 2>&1

echo "-- imported DLLs"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print tolower($3)}' | sort | tr '\n' ' ')
echo "   $dlls"
for dll in $dlls; do
    case $dll in
    advapi32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | user32.dll | winmm.dll) ;;
    *) fail "quorvalite.exe needs $dll, which does not come with Windows" ;;
    esac
done

echo "-- the unit tests under Wine"
(cd build-win && DISPLAY= ctest --output-on-failure -j "$QUORVALITE_JOBS" --timeout 600) || fail "unit tests under Wine"

echo "-- the headless show: 5,600 frames, trace and frames, Linux and Windows"
# Outside, inside, the terminal typing, the tunnel, the credits.
points=(1500 2600 3100 3500 4090)
list=$(IFS=,; echo "${points[*]}")
mkdir -p "$work/linux" "$work/windows"
(cd "$work/linux" && "$linux" --headless --frames 5600 --dump "$list" --out frames --trace trace.txt)
win "$work/windows" --headless --frames 5600 --dump "$list" --out frames --trace trace.txt
frames=$(grep -c '^frame ' "$work/windows/trace.txt" || true)
cues=$(grep -c '^sound ' "$work/windows/trace.txt" || true)
if [ "$frames" != 5600 ] || [ "$cues" -lt 20 ]; then
    fail "the Windows trace holds $frames frames and $cues cues"
elif cmp "$work/linux/trace.txt" "$work/windows/trace.txt"; then
    echo "   traces equal: $frames frames, $cues sound cues"
else
    fail "the traces differ (first difference: $(diff "$work/linux/trace.txt" "$work/windows/trace.txt" | sed -n 2p))"
fi
for point in "${points[@]}"; do
    name=$(printf 'frame_%06d.png' "$point")
    linux_pixels=$(pixels "$work/linux/frames/$name")
    windows_pixels=$(pixels "$work/windows/frames/$name" || true)
    if [ "$linux_pixels" = "$windows_pixels" ]; then
        echo "   frame $point: equal pixels"
    else
        fail "frame $point differs (see $work/{linux,windows}/frames/$name)"
    fi
done

echo "-- texture hashes"
"$linux" --dump-textures "$work/linux/textures" > "$work/linux/textures.txt"
win "$work/windows" --dump-textures textures > "$work/windows/textures_crlf.txt"
tr -d '\r' < "$work/windows/textures_crlf.txt" > "$work/windows/textures.txt"
grep -v '^#' tests/content/texture_hashes.txt | grep -v '^$' > "$work/committed_textures.txt"
if cmp -s "$work/linux/textures.txt" "$work/windows/textures.txt" &&
    cmp -s "$work/committed_textures.txt" "$work/windows/textures.txt"; then
    echo "   $(wc -l < "$work/windows/textures.txt") hashes equal to Linux's and to the committed ones"
else
    fail "texture hashes differ (see $work/{linux,windows}/textures.txt)"
fi

echo "-- a capture into a folder"
capture_frames=200
(cd "$work/linux" && "$linux" --capture capture --frames $capture_frames > /dev/null)
win "$work/windows" --capture capture --frames $capture_frames > /dev/null || fail "the folder capture failed"
written=$(find "$work/windows/capture" -name 'frame_*.png' | wc -l)
last=$(printf 'frame_%06d.png' $capture_frames)
if [ "$written" != $capture_frames ] || [ ! -f "$work/windows/capture/audio.wav" ]; then
    fail "the folder capture holds $written frames of $capture_frames, audio.wav: $(ls "$work/windows/capture" | grep -c audio.wav)"
elif ! cmp -s "$work/linux/capture/audio.wav" "$work/windows/capture/audio.wav"; then
    fail "the capture's audio.wav differs from Linux's"
elif [ "$(pixels "$work/linux/capture/$last")" != "$(pixels "$work/windows/capture/$last")" ]; then
    fail "the capture's last frame differs from Linux's"
else
    echo "   $written frames and audio.wav, equal to Linux's"
fi

echo "-- a capture to a video through a stand-in ffmpeg.exe on PATH"
# Folders with spaces in their names, so that the arguments must be quoted.
mkdir -p "$work/windows tools" "$work/linux tools" "$work/windows video" "$work/linux video"
cp "$encoder" "$work/windows tools/ffmpeg.exe"
cp "$encoder" "$work/windows tools/ffprobe.exe"
cp build-release/tools/stand_in_encoder/stand_in_encoder "$work/linux tools/ffmpeg"
cp build-release/tools/stand_in_encoder/stand_in_encoder "$work/linux tools/ffprobe"
video_frames=30
PATH="$work/linux tools:$PATH" "$linux" --capture "$work/linux video/show.mp4" --frames $video_frames > /dev/null
(cd "$work/windows video" && WINEPATH="$(winepath -w "$work/windows tools")" DISPLAY= wine "$exe" \
     --capture show.mp4 --frames $video_frames > /dev/null) || fail "the video capture failed"
report() { grep -E '^(bytes|frames|frames_fnv1a|rate|audio_fnv1a) ' "$1" 2> /dev/null; }
if [ "$(report "$work/windows video/show.mp4" | sed -n 's/^frames //p')" != $video_frames ]; then
    fail "the stand-in encoder did not receive $video_frames frames (see $work/windows video/show.mp4)"
elif [ "$(report "$work/linux video/show.mp4")" != "$(report "$work/windows video/show.mp4")" ]; then
    fail "the encoder received other frames or another sound track than on Linux"
else
    echo "   $video_frames frames and the sound track through the pipe, equal to Linux's"
fi

echo "-- the window under Xvfb: the Linux window tests, run on the Windows program"
export QUORVALITE_WINDOW_PROGRAM="wine $exe" QUORVALITE_FIRST_DISPLAY=${QUORVALITE_FIRST_DISPLAY:-500}
# One Wine session a screen: Wine keeps the first screen's size for the session.
for test in FullScreenOnA1920x1080ScreenShowsThePictureExactlyAndEscapeEndsIt \
    FullScreenOnASmallerScreenShowsTheWholePictureLetterboxed \
    SwitchModeWithoutThatModeSaysSoAndScalesTheWholePicture ClosingTheWindowEndsTheShowWithExitCode0; do
    wineserver -k 2> /dev/null || true
    (cd "$work" && "$root/build-release/tests/test_window" --gtest_filter="WindowTest.$test" --gtest_brief=1) ||
        fail "window test $test (a failing test keeps its screenshot in $work)"
done
unset QUORVALITE_WINDOW_PROGRAM

echo "-- the sounds played, through a recording sound device"
wineserver -k 2> /dev/null || true
mkdir -p "$work/sound/home"
sed "s#@RECORDING@#$work/sound/played.raw#" tools/wine/recording_asoundrc > "$work/sound/home/.asoundrc"
# Xvfb picks a free display itself and writes its number to fd 3, so that
# test runs sharing the machine never ask for the same one.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/sound/display" > "$work/sound/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/sound/display" ] && break
    sleep 0.1
done
display=":$(head -n 1 "$work/sound/display")"
[ "$display" != ":" ] || fail "Xvfb did not start for the window with sound (see $work/sound/xvfb.log)"
# The show runs on the wall clock and the window has no frame cap, so a
# frame count would give a fast machine too few seconds of show (and too few
# cues). The run goes on until three cues have been traced, a second more for
# their sounds to play out, and ends with ESC, as a person would end it.
(cd "$work/sound" && HOME=$work/sound/home DISPLAY=$display wine "$exe" --window --trace trace.txt \
     > window.log 2>&1; echo $? > exit_code) &
player=$!
for _ in $(seq 120); do
    cues="$(grep -sc '^sound ' "$work/sound/trace.txt" || true)"
    [ "${cues:-0}" -ge 3 ] && break
    kill -0 "$player" 2> /dev/null || break
    sleep 1
done
sleep 1
DISPLAY=$display xdotool search --name '^Quorvalite$' key --window %1 Escape > /dev/null 2>&1 ||
    fail "ESC could not be sent to the window with sound"
for _ in $(seq 30); do
    kill -0 "$player" 2> /dev/null || break
    sleep 1
done
wineserver -k 2> /dev/null || true
wait "$player" || true
[ "$(cat "$work/sound/exit_code" 2> /dev/null)" = 0 ] || fail "the window with sound did not end with 0 on ESC"
python3 tools/wine/check_played_sounds.py "$work/sound/played.raw" "$work/sound/trace.txt" \
    src/show/sound_data.cpp | sed 's/^/   /' || fail "the played sounds"
kill "$xvfb" 2> /dev/null || true
xvfb=""

if [ ${#failures[@]} -gt 0 ]; then
    echo "== windows: ${#failures[@]} checks failed (files in $work):"
    printf '   %s\n' "${failures[@]}"
    exit 1
fi
rm -rf "$work"
echo "== windows: all checks passed"
