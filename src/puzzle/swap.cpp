// The player's swap of two neighbouring cells, with its pooled swap sound.
#include <utility>

#include "puzzle/board.h"

namespace {

constexpr const char* kSwapSoundPath = "./bgm/入れ替え.WAV";

bool Inside(int x, int y, int z) {
    return x >= 0 && x < kSlices && y >= 0 && y < kRows && z >= 0 && z < kDepth;
}

void LoadSwapSound(SwapSound& sound) {
    if (sound.loaded) return;
    for (SoundVar& voice : sound.voices) LoadSound(voice, kSwapSoundPath);
    sound.next = 0;
    sound.loaded = 1;
}

// Restarts the oldest voice from its beginning; the others finish what they are playing.
void PlaySwapSound(SwapSound& sound) {
    SoundVar& voice = sound.voices[sound.next];
    sound.next = (sound.next + 1) % SwapSound::kVoices;
    StopAndRewind(voice);
    PlayEffect(voice);
}

} // namespace

void ReleaseSwapSound(SwapSound& sound) {
    for (SoundVar& voice : sound.voices) voice.reset();
    sound.next = 0;
    sound.loaded = 0;
}

void SwapCells(SwapSound& sound, int32_t* swapCount, BlockGrid grid, int x, int y, int z,
               int direction) {
    LoadSwapSound(sound);
    if (direction != 0 && direction != 1) return;
    const int px = direction == 0 ? x + 1 : x;
    const int pz = direction == 1 ? z + 1 : z;
    // The cursor keeps the partner on the board; a call that does not is refused rather than
    // reaching past the grid.
    if (!Inside(x, y, z) || !Inside(px, y, pz)) return;

    int32_t& a = grid[x][y][z];
    int32_t& b = grid[px][y][pz];
    if (a < 0 || b < 0 || (a == 0 && b == 0)) return;
    std::swap(a, b);
    if (swapCount) --*swapCount;
    PlaySwapSound(sound);
}
