// --bench: whole frames on the real renderer, start-up time and peak memory.
#pragma once

#include <chrono>

#include "platform/system.h"

// Runs the benchmark stages on `backend` (and then headless) and prints a report; returns
// the exit code. `processStart` is when the program started.
int RunBench(platform::Backend& backend, std::chrono::steady_clock::time_point processStart);
