// Music and effects, synthesised: 44100 Hz, 16-bit, stereo.
#pragma once

#include <cstdint>
#include <vector>

namespace sounds {

constexpr int kRate = 44100;

// Peaks as shares of full scale. The mixer sums music, the vanish sound and a swap sound at
// full volume without a limiter: together they stay below full scale, and the effects stand
// well above the music.
constexpr float kMusicPeak = 0.38f;
constexpr float kVanishPeak = 0.34f;
constexpr float kSwapPeak = 0.26f;

// Interleaved stereo samples of each sound.
std::vector<int16_t> TitleMusic();
std::vector<int16_t> GameMusic();
std::vector<int16_t> VictoryMusic();
std::vector<int16_t> DefeatMusic();
std::vector<int16_t> VanishEffect();
std::vector<int16_t> SwapEffect();

void MakeSounds();

} // namespace sounds
