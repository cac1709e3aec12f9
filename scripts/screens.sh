#!/usr/bin/env bash
# Screenshots of every screen of every mode, for looking at the game as a new player does:
#   scripts/screens.sh OUTDIR [BINARY] [DATA]
# BINARY defaults to build/tessarune, DATA to the binary's own data folder; ONLY=REGEX takes
# only the screens whose names match. Each screen is a
# short headless-timed key script run on the offscreen video driver with seed 7.
set -u
out=${1:?usage: scripts/screens.sh OUTDIR [BINARY] [DATA]}
bin=${2:-build/tessarune}
data=${3:-}
mkdir -p "$out"
k=$(mktemp -d)
trap 'rm -rf "$k"' EXIT
fail=0
run() { # name keys frames frame:label...
    local name=$1 keys=$2 frames=$3
    shift 3
    [[ "$name" =~ ${ONLY:-.} ]] || return 0
    printf "$keys" > "$k/$name.keys"
    local args=(--seed 7 --keys "$k/$name.keys" --frames "$frames" --debug-keys)
    [ -n "$data" ] && args+=(--data "$data")
    for s in "$@"; do args+=(--screenshot "${s%%:*}:$out/$name-${s##*:}.png"); done
    if ! SDL_VIDEODRIVER=offscreen timeout 300 "$bin" "${args[@]}" > /dev/null 2>&1; then
        echo "screens: $name failed" >&2
        fail=1
    fi
}

# Title, mode select, options.
run title '' 300 30:turning 60:back 290:rest
run modeselect '2 2 Z\n' 60 50:endless
run options '2 2 Z\n10 10 DOWN\n20 20 DOWN\n30 30 DOWN\n50 50 Z\n80 80 RIGHT\n' 130 125:a

# Endless: banners, play, a match vanishing, the cursor deep and on the right face, pause,
# game over, results, end menu.
e='2 2 Z\n5 5 Z\n'
run endless "$e" 420 80:ready 160:go 400:play
run vanish "${e}200 203 X\n220 221 RIGHT\n240 243 X\n260 262 UP\n280 283 X\n" 360 245:a 285:b
run deep "${e}200 201 SHIFT UP\n230 231 SHIFT UP\n260 261 RIGHT\n280 281 RIGHT\n300 301 RIGHT\n320 321 RIGHT\n340 341 RIGHT\n" 380 250:front 375:right
run pause "${e}250 250 Z\n" 300 290:a
run gameover "${e}300 300 R\n" 900 330:banner 560:results 700:records
run endmenu "${e}300 300 R\n650 650 Z\n700 700 Z\n" 760 755:a

# Versus: the start banners, play, a buried board, pause, the verdict, the end menu.
v='2 2 Z\n20 20 DOWN\n40 40 Z\n'
run versus "$v" 330 100:ready 200:go 320:play
run vsgarbage "${v}230 400 W\n" 700 420:buried
run vspause "${v}300 300 Z\n" 340 335:a
run vsend "${v}230 400 W\n1150 1160 DOWN\n1170 1170 Z\n" 1200 900:a 1000:b 1100:verdict 1190:menu

# Challenge: level select, explanation, banners, play, pause, failed, end menu, cleared.
c='2 2 Z\n10 10 DOWN\n30 30 DOWN\n50 50 Z\n'
run chselect "$c" 70 65:a
run chexplain "${c}75 75 Z\n" 85 80:a
run chplay "${c}75 75 Z\n85 85 Z\n300 301 SHIFT UP\n320 321 SHIFT UP\n340 341 RIGHT\n360 361 RIGHT\n380 381 RIGHT\n400 401 RIGHT\n420 421 RIGHT\n" 440 110:ready 200:go 330:deep 435:right
run chpause "${c}75 75 Z\n85 85 Z\n300 300 Z\n" 340 335:a
# Two equal blocks swapped: the only swap is spent and the level is failed.
run chfailed "${c}75 75 Z\n85 85 Z\n272 272 RIGHT\n288 288 RIGHT\n304 304 RIGHT\n320 320 X\n600 600 Z\n" 700 330:failed 480:banner 690:menu
# Level 1's clearing, as `tessarune --solve 1` plans it (play begins at frame 256).
run chcleared "${c}75 75 Z\n85 85 Z\n272 272 RIGHT\n288 288 RIGHT X\n" 700 500:cleared 690:after
exit $fail
