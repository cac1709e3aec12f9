#!/usr/bin/env bash
# Soak run: the game built with ASan and UBSan (the clang build in build-fuzz) plays random key
# scripts headless, one seed after another, for MINUTES minutes (default 1; fractions allowed).
# Every run must exit 0 with no sanitizer report; resident memory must stay flat over a long
# run that goes round every scene again and again. The records in the run's data folder carry
# over from run to run. A failing run leaves its key script, seed and output in the work
# folder that is printed.
#   scripts/soak.sh [MINUTES]          TESS_SOAK_SEED=N starts from seed N (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
tess_install_packages "${TESS_BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

minutes="${1:-1}"
seconds=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 10 ? 10 : s) }')
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DTESS_FUZZERS=ON -DCMAKE_BUILD_TYPE=Debug > /dev/null
cmake --build "$build" -j"$(nproc)" --target tessarune gamedata > /dev/null
game="$PWD/$build/tessarune"

work="$(mktemp -d /tmp/tessarune-soak.XXXXXX)"
cp -r "$build/data" "$work/data"
rm -f "$work/data/notepad/"*
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=16:allocator_release_to_os_interval_ms=500"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The mode-select items: name, how many times Down is pressed to reach it, and the keys the
# scene reads with their weights (KEY or KEY+KEY for keys held together).
MODES=(
    "endless|0|UP:6 DOWN:6 LEFT:6 RIGHT:6 X:12 SHIFT+UP:2 SHIFT+DOWN:2 A:3 Q:2 R:1 Z:3"
    "versus|1|G:4 B:4 V:4 N:4 A:8 SHIFT+G:2 SHIFT+B:2 Q:2 UP:4 DOWN:4 LEFT:4 RIGHT:4 J:8 RETURN+UP:2 K:2 U:2 W:1 Z:3"
    "challenge|2|UP:6 DOWN:6 LEFT:6 RIGHT:6 X:10 SHIFT+UP:2 SHIFT+DOWN:2 Z:5"
    "options|3|UP:3 DOWN:3 LEFT:4 RIGHT:4 Z:2"
    "end|4|Z:1"
    "end|5|Z:1"
)
# Keys of the menus met on the way (pause, results, end menu, mode select), mixed in everywhere.
MENU_KEYS="UP:3 DOWN:3 Z:4"
# How often each mode-select item is chosen first (same order as MODES).
MODE_WEIGHTS=(6 4 4 2 1 1)

# Writes a key script: the title, `downs` moves on the mode select, Z, then random presses of
# `keys` until `frames`; an Escape near the end when `escape` is 1.
key_script() {
    local seed=$1 frames=$2 downs=$3 keys=$4 escape=$5
    awk -v seed="$seed" -v frames="$frames" -v downs="$downs" -v keys="$keys" \
        -v escape="$escape" 'BEGIN {
        srand(seed)
        print "2 2 Z"
        for (i = 1; i <= downs; ++i) print i * 10, i * 10, "DOWN"
        f = (downs + 1) * 10
        print f, f, "Z"
        n = split(keys, pairs, " ")
        total = 0
        for (i = 1; i <= n; ++i) {
            split(pairs[i], kv, ":")
            name[i] = kv[1]; total += kv[2]; upto[i] = total
        }
        f += 60
        while (f < frames - 20) {
            r = rand() * total
            for (i = 1; upto[i] <= r; ++i) {}
            hold = 1 + int(rand() * 4)
            k = name[i]; gsub(/\+/, " ", k)
            print f, f + hold - 1, k
            f += hold + int(rand() * (rand() < 0.1 ? 200 : 20))
        }
        if (escape) print frames - 10, frames - 10, "ESCAPE"
    }'
}

# Runs the game; prints its peak resident memory in KiB, sampled while it runs, and the
# samples to $work/rss. Fails on a non-zero exit or any sanitizer report.
run_game() {
    local name=$1
    shift
    : > "$work/rss"
    "$game" --headless --data "$work/data" "$@" > "$work/$name.out" 2> "$work/$name.err" &
    local pid=$! rc=0
    while kill -0 "$pid" 2> /dev/null; do
        awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" >> "$work/rss" 2> /dev/null || true
        sleep 0.2
    done
    wait "$pid" || rc=$?
    if [ "$rc" -ne 0 ] || grep -qE 'Sanitizer|runtime error' "$work/$name.err"; then
        echo "soak: run $name failed (exit $rc); its files are in $work:" >&2
        tail -n 30 "$work/$name.err" >&2
        return 1
    fi
    sort -n "$work/rss" | tail -n 1
}

pick_mode() {
    local seed=$1 total=0 i
    for i in "${MODE_WEIGHTS[@]}"; do total=$((total + i)); done
    local r=$(((seed * 7919 + 13) % total))
    for i in "${!MODE_WEIGHTS[@]}"; do
        r=$((r - MODE_WEIGHTS[i]))
        if [ "$r" -lt 0 ]; then
            echo "$i"
            return
        fi
    done
}

start=$SECONDS
seed=${TESS_SOAK_SEED:-1}
runs=0
peak=0

# The memory run: a quarter of the time, the endless mode played with the cheat keys, given up,
# its results and end menu, and played again, over and over; resident memory in the last
# quarter of the run must not be above that of the second quarter.
memory_script() {
    local frames=$1 f
    echo "2 2 Z"
    echo "10 10 Z"
    for ((f = 100; f + 1500 <= frames; f += 1500)); do
        key_script "$f" 1100 0 "$PLAY_KEYS" 0 |
            awk -v off="$f" 'NR > 2 && $1 >= 70 { $1 += off; $2 += off; print }'
        echo "$((f + 1100)) $((f + 1100)) R"
        echo "$((f + 1440)) $((f + 1440)) Z"
        echo "$((f + 1470)) $((f + 1470)) Z"
    done
}
PLAY_KEYS="UP:6 DOWN:6 LEFT:6 RIGHT:6 X:12 SHIFT+UP:2 SHIFT+DOWN:2 A:3 Q:2"

# Frames per second of this build, from one round.
memory_script 1600 > "$work/memory.keys"
t0=$(date +%s%N)
run_game calibrate --keys "$work/memory.keys" --frames 1600 --seed "$seed" --debug-keys > /dev/null
fps=$((1600 * 1000000000 / ($(date +%s%N) - t0) + 1))
long_frames=$((fps * seconds / 4))
[ "$long_frames" -lt 4600 ] && long_frames=4600
memory_script "$long_frames" > "$work/memory.keys"
run_game memory --keys "$work/memory.keys" --frames "$long_frames" --seed "$seed" \
    --debug-keys > /dev/null
samples=$(wc -l < "$work/rss")
if [ "$samples" -ge 8 ]; then
    read -r early late < <(awk -v n="$samples" '
        NR > n / 4 && NR <= n / 2 && $1 > e { e = $1 }
        NR > 3 * n / 4 && $1 > l { l = $1 }
        END { print e, l }' "$work/rss")
    echo "soak: memory run of $long_frames frames ($fps frames/s): resident $((early / 1024))" \
        "MiB in the second quarter, $((late / 1024)) MiB in the last"
    if [ "$late" -gt $((early + 8192)) ]; then
        echo "soak: resident memory grew by $(((late - early) / 1024)) MiB; files in $work" >&2
        exit 1
    fi
else
    echo "soak: memory run of $long_frames frames too short to judge ($samples samples)" >&2
fi
frames_total=$((1600 + long_frames))

# The random runs, until the time is up (three at least).
while [ $((SECONDS - start)) -lt "$seconds" ] || [ "$runs" -lt 3 ]; do
    mode=$(pick_mode "$seed")
    IFS='|' read -r name downs keys <<< "${MODES[$mode]}"
    frames=$((600 + (seed * 2654435761 % 5400)))
    escape=$((seed % 2))
    key_script "$seed" "$frames" "$downs" "$keys $MENU_KEYS" "$escape" > "$work/run.keys"
    debug=()
    [ $((seed % 3)) -eq 0 ] && debug=(--debug-keys)
    if ! rss=$(run_game "seed$seed" --keys "$work/run.keys" --frames "$frames" --seed "$seed" \
        --dump "$work/dump.json" "${debug[@]}"); then
        cp "$work/run.keys" "$work/failed-seed$seed.keys"
        echo "soak: seed $seed, $name first, $frames frames ${debug[*]}" >&2
        exit 1
    fi
    [ -n "$rss" ] && [ "$rss" -gt "$peak" ] && peak=$rss
    rm -f "$work/seed$seed.out" "$work/seed$seed.err"
    runs=$((runs + 1))
    ran=$(grep -o '"frame":[0-9]*' "$work/dump.json" | head -n 1 | cut -d: -f2)
    frames_total=$((frames_total + ${ran:-0}))
    seed=$((seed + 1))
done

# The records written over all those runs are still whole.
for f in "Hi Score.txt:6" "Max keta.txt:3"; do
    file="$work/data/notepad/${f%%:*}"
    if [ -e "$file" ] && [ "$(wc -w < "$file")" -ne "${f##*:}" ]; then
        echo "soak: $file is not whole: $(cat "$file")" >&2
        exit 1
    fi
done
echo "soak: $runs random runs, seeds ${TESS_SOAK_SEED:-1}..$((seed - 1)), $frames_total frames in all," \
    "peak resident $((peak / 1024)) MiB, $((SECONDS - start)) s: clean"
rm -rf "$work"
