// Numbers on screen: decimal digit arrays and their drawing from the digit sheets.
#pragma once

#include <cstdint>

#include "platform/graphics.h"

// Decimal digits of a number, [0] the ones, with the count of digits shown.
struct Digits {
    int32_t d[15] = {};
    int32_t count = 1;
};

int32_t DigitCount(int64_t value);             // at least 1
void SetDigits(Digits& digits, int64_t value); // all digits of a value, count >= 1
int64_t DigitsValue(const Digits& digits);
// Carries every slot above 9 into the next one up, so each slot ends 0..9; the count becomes
// the number of digits up to the highest non-zero slot (at least 1).
void CarryDigits(Digits& digits);

// A digit sheet as loaded: the texture, its rectangles (figures 1..9, 0, colon) and the step
// between the digits of a number on screen.
struct DigitSheet {
    platform::Texture* texture;
    const platform::Rect* rects;
    float step;
};
DigitSheet SmallDigits(platform::Texture* texture); // "./bmp/数字.bmp", step 20
DigitSheet LargeDigits(platform::Texture* texture); // "./bmp/数字2.bmp", step 38

// The source rectangle of a figure (any int; its last decimal digit) and of the colon.
const platform::Rect& FigureRect(const DigitSheet& sheet, int32_t digit);
const platform::Rect& ColonRect(const DigitSheet& sheet);

// Each digit one sprite pass, highest first; digit i at (x - step * i, y): right-aligned on
// the ones digit at x.
void DrawNumber(platform::Sprite* sprite, const DigitSheet& sheet, const int32_t* digits,
                int32_t count, float x, float y);
void DrawNumber(platform::Sprite* sprite, const DigitSheet& sheet, const Digits& digits, float x,
                float y);
// A value cut into `count` digits by repeated division (none for a count of 0).
void DrawCutNumber(platform::Sprite* sprite, const DigitSheet& sheet, int64_t value, int32_t count,
                   float x, float y);
// hh:mm:ss, two digits each: the seconds' ones digit at xs[0], the minutes' at xs[1], the
// hours' at xs[2]; the colons at (colons[0], colonY) and (colons[1], colonY).
struct TimeLayout {
    float xs[3];
    float colons[2];
    float y, colonY;
};
void DrawTime(platform::Sprite* sprite, const DigitSheet& sheet, int32_t h, int32_t m, int32_t s,
              const TimeLayout& at);
