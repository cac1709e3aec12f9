// The system clock in milliseconds: real, or virtual (1000/60 ms per frame) for headless runs.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

uint32_t timeGetTime();
uint32_t timeBeginPeriod(uint32_t ms);
uint32_t timeEndPeriod(uint32_t ms);

// Switches to the virtual clock, starting at `startMs`; it moves only with AdvanceFrame.
void UseVirtualClock(uint32_t startMs);
void UseRealClock();
bool VirtualClockInUse();
// One frame has passed: the virtual clock moves on by 1000/60 ms (exactly 1000 ms per 60 frames).
void AdvanceFrame();

// Sees every reading timeGetTime takes and returns the one the game gets instead: a recording
// keeps the readings, a replay gives back the recorded ones. Empty: the clock's own reading.
void SetClockFilter(std::function<uint32_t(uint32_t)> filter);

} // namespace platform
