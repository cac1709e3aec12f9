#!/usr/bin/env bash
# The windowed game under ThreadSanitizer: the sound output thread pulls the mix and the
# streaming thread reads the music ahead while the game loads, plays, moves and releases sound
# buffers. Builds the game with -fsanitize=thread in
# build-tsan, then plays each mode of the table below through a whole game in a real window
# (SDL's offscreen video driver, the software renderer) with SDL's dummy audio driver, which
# runs the audio callback on its own thread. Fails on any report or a non-zero exit.
#   scripts/tsan.sh [MODE...]       (default: every mode of the table)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tess_install_packages "${TESS_BUILD_PACKAGES[@]}"

build=build-tsan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_TESTS=OFF \
    -DCMAKE_C_FLAGS="-fsanitize=thread -g -O1" -DCMAKE_CXX_FLAGS="-fsanitize=thread -g -O1" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" > /dev/null
cmake --build "$build" -j"$(nproc)" --target tessarune gamedata > /dev/null

# One whole game per mode: frames to run and the key script (the debug keys are on, so the
# versus script can bury a board).
declare -A FRAMES SCRIPTS
FRAMES[endless]=1260
SCRIPTS[endless]='
# title, mode select, endless
2 2 Z
5 5 Z
# play: moves, swaps (the swap sound), deeper and back, faster rise
300 300 RIGHT
310 310 X
320 320 UP
330 330 X
340 341 SHIFT UP
350 350 X
360 361 SHIFT DOWN
370 420 A
# pause and resume
450 450 Z
470 470 Z
# give up: game over (the defeat sound), results, end menu, mode select
778 778 R
1120 1120 Z
1145 1145 DOWN
1150 1150 Z
# the mode entered again and left at once: its sounds loaded and released while playing
1190 1190 Z
1240 1240 ESCAPE
'
FRAMES[versus]=1470
SCRIPTS[versus]='
# title, mode select, versus
2 2 Z
20 20 DOWN
40 40 Z
# both players move, swap and go deeper; the left rises faster
300 300 V
305 305 RIGHT
310 310 A
315 315 J
320 321 SHIFT G
325 326 RETURN UP
330 380 Q
# pause and resume
400 400 Z
420 420 Z
# the right player buries the left one (debug key): garbage, defeat, end menu, mode select
430 600 W
1150 1160 DOWN
1170 1170 Z
# versus entered again, paused in play and left for the mode select
1190 1190 DOWN
1200 1200 Z
1400 1400 Z
1410 1410 DOWN
1420 1420 DOWN
1430 1430 Z
'
FRAMES[challenge]=1440
SCRIPTS[challenge]='
# title, mode select down twice, level select, level 1: explanation, banners
2 2 Z
10 10 DOWN
30 30 DOWN
50 50 Z
75 75 Z
85 85 Z
# level 1 cleared (its clearing as the solver plans it): the vanish sound, the victory music
272 272 RIGHT
288 288 RIGHT X
# on to the level select, level 1 again: two equal blocks swapped, failed, the end menu
560 560 Z
600 600 Z
620 620 Z
800 800 RIGHT
816 816 RIGHT
832 832 RIGHT
848 848 X
1100 1100 Z
# retry: the explanation again, the banners, then leave from the pause
1150 1150 Z
1165 1165 Z
1350 1350 Z
1360 1360 DOWN
1370 1370 DOWN
1380 1380 DOWN
1390 1390 Z
'
modes=("$@")
[ ${#modes[@]} -eq 0 ] && modes=("${!SCRIPTS[@]}")

work="$(mktemp -d /tmp/tessarune-tsan.XXXXXX)"
cp -r "$build/data" "$work/data"
rm -f "$work/data/notepad/"*
# Mesa's software renderer is not instrumented: its own fence waits look like races.
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp:second_deadlock_stack=1:history_size=4"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER=dummy
status=0
for mode in "${modes[@]}"; do
    printf '%s' "${SCRIPTS[$mode]}" > "$work/$mode.keys"
    rc=0
    "$build/tessarune" --data "$work/data" --config "$work/config" --keys "$work/$mode.keys" \
        --seed 1 --debug-keys --frames "${FRAMES[$mode]}" --dump "$work/$mode.json" \
        > /dev/null 2> "$work/$mode.err" ||
        rc=$?
    reports=$(grep -c 'WARNING: ThreadSanitizer' "$work/$mode.err" || true)
    frame=$(grep -o '"frame":[0-9]*' "$work/$mode.json" 2> /dev/null | head -n 1 | cut -d: -f2 || true)
    echo "tsan: $mode: ${frame:-?} frames, seed 1, exit $rc, $reports reports"
    if [ "$rc" -ne 0 ] || [ "$reports" -ne 0 ]; then
        cat "$work/$mode.err" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && rm -rf "$work"
exit "$status"
