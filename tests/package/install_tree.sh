#!/usr/bin/env bash
# The installed game: cmake --install into a scratch prefix gives every file the game reads and
# every file the desktop needs; the installed copy finds its data, keeps its records in the
# user's folder (never in the installed data) and reads them back at the next start.
#   install_tree.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
scratch="$2/install-tree-$$"
rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"
game="$prefix/bin/tessarune"
share="$prefix/share"
for f in "$game" "$share/applications/org.tessarune.Tessarune.desktop" \
    "$share/metainfo/org.tessarune.Tessarune.metainfo.xml" "$share/man/man6/tessarune.6.gz"; do
    [ -f "$f" ] || fail "not installed: $f"
done
for size in 16 24 32 48 64 128 256 512; do
    icon="$share/icons/hicolor/${size}x$size/apps/tessarune.png"
    file -b "$icon" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA" ||
        fail "$icon: $(file -b "$icon" 2>&1)"
done
[ ! -e "$share/tessarune/data/notepad" ] || fail "the installed data holds a notepad/ folder"

# The installed copy finds its own data, wherever the prefix is.
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg"
(cd / && "$game" --check-data) > "$scratch/check.txt" || fail "--check-data: $(cat "$scratch/check.txt")"
grep -q "^data folder $share/tessarune/data: all [0-9]* files good" "$scratch/check.txt" ||
    fail "$(cat "$scratch/check.txt")"
grep -q "^record folder $XDG_DATA_HOME/tessarune/notepad$" "$scratch/check.txt" ||
    fail "record folder: $(cat "$scratch/check.txt")"
"$game" --version | grep -Eq '^tessarune [0-9]+\.[0-9]+\.[0-9]+ \(commit ([0-9a-f]{12}(-dirty)?|unknown)\)$' ||
    fail "--version: $("$game" --version)"

# A whole endless game: give up after ten seconds, leave through the results and the end menu.
printf '2 2 Z\n5 5 Z\n778 778 R\n1120 1120 Z\n1145 1145 Z\n' > "$scratch/game.keys"
(cd "$scratch" && "$game" --headless --seed 3 --keys game.keys --frames 1150 --dump first.json) \
    > /dev/null
records="$XDG_DATA_HOME/tessarune/notepad"
[ -f "$records/Hi Score.txt" ] && [ -f "$records/Max keta.txt" ] || fail "no records in $records"
grep -Eq '^[0-9]+ [0-9]+ [0-9]+ 0 0 10$' "$records/Hi Score.txt" ||
    fail "Hi Score.txt: $(cat "$records/Hi Score.txt")"
[ ! -e "$share/tessarune/data/notepad" ] || fail "records were written into the installed data"
# The next start reads them: leave at the mode select, the endless mode set up once.
printf '2 2 Z\n5 5 Z\n' > "$scratch/again.keys"
(cd "$scratch" && "$game" --headless --keys again.keys --frames 20 --dump second.json) > /dev/null
grep -q '"RecSec":10' "$scratch/second.json" || fail "records not read back: $(cat "$scratch/second.json")"

# A data folder that cannot be written (a read-only bind mount in a mount namespace of its own,
# where this machine allows one; as root, permissions alone would not stop the writes): the
# records go to the user's folder, those of the data folder copied over first and left as
# they were.
ro="$scratch/ro-data"
cp -r "$share/tessarune/data" "$ro"
mkdir "$ro/notepad"
printf '0 0 0 0 0 3' > "$ro/notepad/Hi Score.txt"
if unshare -rm --propagation private true 2> /dev/null; then
    XDG_DATA_HOME="$scratch/xdg-ro" unshare -rm --propagation private sh -c \
        'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && ! touch "$1/probe" 2>/dev/null &&
         cd "$2" && "$3" --data "$1" --headless --keys game.keys --frames 1150 > /dev/null' \
        sh "$ro" "$scratch" "$game" 2> "$scratch/ro.err" || fail "read-only run: $(cat "$scratch/ro.err")"
    grep -q "'Hi Score.txt' copied" "$scratch/ro.err" || fail "no copy said: $(cat "$scratch/ro.err")"
    grep -Eq ' 0 0 10$' "$scratch/xdg-ro/tessarune/notepad/Hi Score.txt" ||
        fail "records of the read-only run: $(cat "$scratch/xdg-ro/tessarune/notepad/Hi Score.txt")"
    [ "$(cat "$ro/notepad/Hi Score.txt")" = "0 0 0 0 0 3" ] || fail "the read-only data was changed"
else
    echo "no read-only bind mount here: that case is left to app.RecordFolder"
fi

# The desktop's own checks, where their tools are installed.
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$share/applications/org.tessarune.Tessarune.desktop"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$share/metainfo/org.tessarune.Tessarune.metainfo.xml" > "$scratch/as.txt" ||
        fail "$(cat "$scratch/as.txt")"
fi

# The manual page: well-formed roff, and every option of --help in it.
page="$scratch/tessarune.6"
gzip -dc "$share/man/man6/tessarune.6.gz" > "$page"
if command -v groff > /dev/null; then
    warnings="$(groff -man -ww -z "$page" 2>&1)"
    [ -z "$warnings" ] || fail "groff: $warnings"
fi
"$game" --help | grep -oE -- '--[a-z-]+' | sort -u | while read -r option; do
    grep -qF -- "${option//-/\\-}" "$page" || fail "$option is not in the manual page"
done
echo "install tree good: $prefix"
