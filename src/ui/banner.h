// Banners: a picture revealed by a growing source rectangle, held for a while, or slid down
// the screen and rested. Only the steps live here; each mode draws its banner with
// DrawSpriteAt from the step's state, in its own order.
#pragma once

#include <cstdint>

// A wipe: `width` grows by `step`; true when it has reached `full` (it is then set to
// `setTo`).
bool RevealStep(int32_t& width, int32_t step, int32_t full, int32_t setTo);

// A hold: true when `wait` has reached `frames` (it is then set to 0); in every case `wait`
// then grows by one, so a later hold starts from 1.
bool HoldStep(int32_t& wait, int32_t frames);

// A slide to rest: below `stop`, `y` grows by `speed`; once at `stop` or beyond, the rest is
// counted in `hold`: when it has reached `restFrames` the slide is over (true; `y` back to
// `startY`, `hold` to 0); in every case at rest `hold` then grows by one.
struct Slide {
    float speed, stop, startY;
    int32_t restFrames;
};
bool SlideStep(const Slide& slide, float& y, int32_t& hold);
