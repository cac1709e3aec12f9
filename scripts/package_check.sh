#!/usr/bin/env bash
# Builds the Debian package and tries it as a player would: installs it, checks its data, plays
# a short headless game from the installed copy, and removes it again. With --system (as root)
# the package is installed into this machine with apt-get and removed with dpkg --purge, and
# every file it brought must be gone afterwards; otherwise it is unpacked into a scratch root
# with dpkg -x. The player's folders (HOME, XDG_DATA_HOME) point into a scratch folder.
#   scripts/package_check.sh [--system]
set -euo pipefail
cd "$(dirname "$0")/.."
system=""
[ "${1:-}" = "--system" ] && system=1
if [ -n "$system" ] && [ "$(id -u)" -ne 0 ]; then
    echo "package_check: --system needs root; unpacking into a scratch root instead" >&2
    system=""
fi
. scripts/deps.sh
tess_install_packages "${TESS_BUILD_PACKAGES[@]}" "${TESS_PACKAGE_PACKAGES[@]}"

build=build
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/tessarune_*.deb
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log"; exit 1; }
deb="$(ls "$PWD/$build"/tessarune_*.deb)"
echo "package: $deb"

fail() { echo "package_check: FAIL: $*" >&2; exit 1; }
work="$(mktemp -d)"
cleanup() {
    if [ -n "$system" ] && dpkg-query -W tessarune > /dev/null 2>&1; then
        dpkg --purge tessarune > /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# What the package says of itself.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "depends: $depends"
for lib in libsdl2 libepoxy0 libpng16 libc6 libgl1; do
    [[ "$depends" == *"$lib"* ]] || fail "no dependency on $lib"
done
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for f in ./usr/bin/tessarune ./usr/share/tessarune/data/bmp/ ./usr/share/man/man6/tessarune.6.gz \
    ./usr/share/applications/org.tessarune.Tessarune.desktop \
    ./usr/share/metainfo/org.tessarune.Tessarune.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/tessarune.png; do
    grep -qxF "$f" "$work/contents" || fail "$f is not in the package"
done
! grep -q notepad "$work/contents" || fail "the package holds a notepad/ folder"

# Install.
if [ -n "$system" ]; then
    dpkg-query -W tessarune > /dev/null 2>&1 &&
        fail "a tessarune package is installed already; remove it first"
    [ ! -e /usr/bin/tessarune ] || fail "/usr/bin/tessarune exists outside the package"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 "$deb" \
        > "$work/apt.log" || { cat "$work/apt.log"; fail "apt-get install"; }
    game=/usr/bin/tessarune
    dpkg -L tessarune > "$work/files"
else
    dpkg -x "$deb" "$work/root"
    game="$work/root/usr/bin/tessarune"
fi

# The same commit in the package and in the game.
version="$(dpkg-deb -f "$deb" Version)"
said="$("$game" --version)"
echo "version: $version; $said"
commit="${said##*commit }"
commit="${commit%)}"
[[ "$version" == *".g${commit/-dirty/.dirty}" ]] || fail "package $version, game $said"

# Run it as a player would, with the player's folders in the scratch folder.
export HOME="$work/home" XDG_DATA_HOME="$work/xdg"
mkdir -p "$HOME"
(cd "$work" && "$game" --check-data) | tail -2
# An endless game given up after ten seconds, then the end menu's second item: the mode select.
printf '2 2 Z\n5 5 Z\n778 778 R\n1120 1120 Z\n1140 1140 DOWN\n1160 1160 Z\n' > "$work/game.keys"
(cd "$work" && "$game" --headless --keys game.keys --frames 1180 --dump state.json) > /dev/null
grep -q '"SceneId":3' "$work/state.json" || fail "the game did not return to the mode select"
[ -f "$XDG_DATA_HOME/tessarune/notepad/Hi Score.txt" ] || fail "no records in the user's folder"
echo "records: $XDG_DATA_HOME/tessarune/notepad/: $(cat "$XDG_DATA_HOME/tessarune/notepad/Hi Score.txt")"

# Remove it: nothing it brought may stay behind.
if [ -n "$system" ]; then
    [ -f /usr/share/applications/org.tessarune.Tessarune.desktop ] || fail "no desktop entry"
    dpkg --purge tessarune > "$work/purge.log" || { cat "$work/purge.log"; fail "dpkg --purge"; }
    while read -r path; do
        [ -d "$path" ] && continue # shared folders (/usr/bin, ...) stay
        [ ! -e "$path" ] || fail "$path is left after the removal"
    done < "$work/files"
    [ ! -e /usr/share/tessarune ] || fail "/usr/share/tessarune is left after the removal"
fi
echo "package_check: $(basename "$deb") installed ($([ -n "$system" ] && echo "apt-get, this machine" || echo "dpkg -x, scratch root")), played and removed"
