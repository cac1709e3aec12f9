// The game's random generator: srand/rand semantics, 0..32767, the same sequence everywhere.
#pragma once

#include <cstdint>

namespace platform {

constexpr int RAND_MAX_VALUE = 32767;
// Seeds the generator. While an override is set (--seed), every srand uses it instead.
void srand(uint32_t seed);
void OverrideSeed(uint32_t seed);
void ClearSeedOverride();
int rand();
// The seed the generator was last seeded with (the game's seed).
uint32_t LastSeed();

} // namespace platform
