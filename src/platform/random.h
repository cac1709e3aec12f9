// The game's random generator: srand/rand semantics, 0..32767, the same sequence everywhere.
#pragma once

#include <cstdint>

namespace platform {

constexpr int RAND_MAX_VALUE = 32767;
void srand(uint32_t seed);
int rand();

} // namespace platform
