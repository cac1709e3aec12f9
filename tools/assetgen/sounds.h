// Music and effects, synthesised: 44100 Hz, 16-bit, stereo.
#pragma once

#include <cstdint>
#include <vector>

namespace sounds {

constexpr int kRate = 44100;

// Interleaved stereo samples of each sound.
std::vector<int16_t> TitleMusic();
std::vector<int16_t> GameMusic();
std::vector<int16_t> VictoryMusic();
std::vector<int16_t> DefeatMusic();
std::vector<int16_t> VanishEffect();
std::vector<int16_t> SwapEffect();

void MakeSounds();

} // namespace sounds
