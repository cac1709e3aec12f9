// Banner steps.
#include "ui/banner.h"

bool RevealStep(int32_t& width, int32_t step, int32_t full, int32_t setTo) {
    width += step;
    if (width < full) return false;
    width = setTo;
    return true;
}

bool HoldStep(int32_t& wait, int32_t frames) {
    bool done = wait >= frames;
    if (done) wait = 0;
    ++wait;
    return done;
}

bool SlideStep(const Slide& slide, float& y, int32_t& hold) {
    if (y < slide.stop) y += slide.speed;
    if (y < slide.stop) return false;
    bool done = hold >= slide.restFrames;
    if (done) {
        y = slide.startY;
        hold = 0;
    }
    ++hold;
    return done;
}
