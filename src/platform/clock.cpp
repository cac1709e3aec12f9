// The system clock.
#include "platform/clock.h"

#include <chrono>

namespace platform {

namespace {
struct ClockState {
    bool isVirtual = false;
    uint32_t virtualStart = 0;
    uint64_t frames = 0;
    std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
    int periods = 0;
    std::function<uint32_t(uint32_t)> filter;
};
ClockState& State() {
    static ClockState state;
    return state;
}
} // namespace

namespace {
uint32_t Reading(const ClockState& s) {
    if (s.isVirtual) return s.virtualStart + static_cast<uint32_t>(s.frames * 1000 / 60);
    auto elapsed = std::chrono::steady_clock::now() - s.origin;
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
} // namespace

uint32_t timeGetTime() {
    ClockState& s = State();
    uint32_t reading = Reading(s);
    return s.filter ? s.filter(reading) : reading;
}

void SetClockFilter(std::function<uint32_t(uint32_t)> filter) {
    State().filter = std::move(filter);
}

// The steady clock already has millisecond resolution; the periods are only counted.
uint32_t timeBeginPeriod(uint32_t) {
    ++State().periods;
    return 0;
}
uint32_t timeEndPeriod(uint32_t) {
    if (State().periods == 0) return 97; // TIMERR_NOCANDO
    --State().periods;
    return 0;
}

namespace {
FrameSlotNote g_lastSlot;
}

FrameSlotNote LastFrameSlot() {
    return g_lastSlot;
}
void NoteFrameSlot(const FrameSlotNote& note) {
    g_lastSlot = note;
}

void UseVirtualClock(uint32_t startMs) {
    State().isVirtual = true;
    State().virtualStart = startMs;
    State().frames = 0;
}
void UseRealClock() {
    State().isVirtual = false;
}
bool VirtualClockInUse() {
    return State().isVirtual;
}
void AdvanceFrame() {
    ++State().frames;
}

} // namespace platform
