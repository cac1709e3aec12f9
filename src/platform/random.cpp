// The game's random generator: a linear congruential generator with a 15-bit result.
#include "platform/random.h"

namespace platform {

namespace {
uint32_t g_state = 1;
bool g_overridden = false;
uint32_t g_override = 0;
uint32_t g_seed = 1;
} // namespace

void srand(uint32_t seed) {
    g_state = g_seed = g_overridden ? g_override : seed;
}

void OverrideSeed(uint32_t seed) {
    g_overridden = true;
    g_override = seed;
}

void ClearSeedOverride() {
    g_overridden = false;
}

uint32_t LastSeed() {
    return g_seed;
}

int rand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

} // namespace platform
