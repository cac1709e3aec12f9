// The system clock in milliseconds: real, or virtual (1000/60 ms per frame) for headless runs.
#pragma once

#include <chrono>
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

// The last slot a FrameSlots handed out: when the frame before it finished (its picture
// presented) and when the slot begins. The bench splits each gap between frames into the
// frame's own work and how late the next one woke.
struct FrameSlotNote {
    std::chrono::steady_clock::time_point finished, slot;
};
FrameSlotNote LastFrameSlot();
void NoteFrameSlot(const FrameSlotNote& note);

// Slots of 1/60 s for the frames of a window that does not wait for the display. Each frame
// starts when its slot begins, counted from the slot before it, so waking a little late never
// adds up; a frame that overran its slot starts the next one where it ended (the game runs
// slower for that frame and does not hurry afterwards).
class FrameSlots {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPeriod =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / 60.0));

    // When the next frame starts, given that the last one ended at `now` (wait until then).
    Clock::time_point Next(Clock::time_point now) {
        Clock::time_point start = now < due_ ? due_ : now;
        due_ = start + kPeriod;
        NoteFrameSlot({now, start});
        return start;
    }

  private:
    Clock::time_point due_{};
};

} // namespace platform
