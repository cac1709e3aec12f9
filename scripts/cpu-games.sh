#!/usr/bin/env bash
# Plays N seeded computer-against-computer versus games headless and counts the winners:
#   scripts/cpu-games.sh LEFT RIGHT [N] [FRAMES] [BINARY]
# LEFT and RIGHT are easy, normal or hard; seeds 1..N (default 20); each game is capped at
# FRAMES frames (default 30000, about eight minutes of play).
set -euo pipefail
left=${1:?usage: scripts/cpu-games.sh LEFT RIGHT [N] [FRAMES] [BINARY]}
right=${2:?usage: scripts/cpu-games.sh LEFT RIGHT [N] [FRAMES] [BINARY]}
n=${3:-20}
frames=${4:-30000}
bin=${5:-build/tessarune}
for seed in $(seq 1 "$n"); do
    "$bin" --headless --seed "$seed" --cpu-vs-cpu "$left" "$right" --frames "$frames" 2>/dev/null
done | awk -v l="$left" -v r="$right" -v n="$n" '
    / beat / { split($0, a, " beat "); won[a[1]]++ }
    / no winner / { none++ }
    END {
        for (w in won) printf "%s won %d of %d\n", substr(w, 13), won[w], n
        if (none) printf "no winner within the cap: %d\n", none
    }'
