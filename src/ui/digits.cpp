// Digit arrays and numbers drawn from the digit sheets.
#include "ui/digits.h"

#include <algorithm>

#include "media/draw.h"
#include "media/manifest.h"

using namespace platform;

int32_t DigitCount(int64_t value) {
    int32_t n = 1;
    for (value = value < 0 ? -value : value; value >= 10; value /= 10) ++n;
    return n;
}

void SetDigits(Digits& digits, int64_t value) {
    digits = Digits{};
    digits.count = std::min(DigitCount(value), 15);
    for (int i = 0; i < 15 && value > 0; ++i, value /= 10)
        digits.d[i] = static_cast<int32_t>(value % 10);
}

int64_t DigitsValue(const Digits& digits) {
    int64_t value = 0;
    for (int i = 14; i >= 0; --i) value = value * 10 + digits.d[i];
    return value;
}

void CarryDigits(Digits& digits) {
    for (int i = 0; i < 14; ++i)
        if (digits.d[i] > 9) {
            digits.d[i + 1] += digits.d[i] / 10;
            digits.d[i] %= 10;
        }
    int32_t count = 1;
    for (int i = 14; i > 0; --i)
        if (digits.d[i] != 0) {
            count = i + 1;
            break;
        }
    digits.count = count;
}

DigitSheet SmallDigits(Texture* texture) {
    return {texture, kSmallDigitRects, kSmallDigitStep};
}

DigitSheet LargeDigits(Texture* texture) {
    return {texture, kLargeDigitRects, kLargeDigitStep};
}

const Rect& FigureRect(const DigitSheet& sheet, int32_t digit) {
    int32_t d = ((digit % 10) + 10) % 10;
    return sheet.rects[d == 0 ? 9 : d - 1];
}

const Rect& ColonRect(const DigitSheet& sheet) {
    return sheet.rects[kDigitColon];
}

void DrawNumber(Sprite* sprite, const DigitSheet& sheet, const int32_t* digits, int32_t count,
                float x, float y) {
    for (int32_t i = count - 1; i >= 0; --i)
        DrawSpriteAt(sprite, sheet.texture, FigureRect(sheet, digits[i]), x - sheet.step * i, y);
}

void DrawNumber(Sprite* sprite, const DigitSheet& sheet, const Digits& digits, float x, float y) {
    DrawNumber(sprite, sheet, digits.d, digits.count, x, y);
}

void DrawCutNumber(Sprite* sprite, const DigitSheet& sheet, int64_t value, int32_t count, float x,
                   float y) {
    int32_t digits[15] = {};
    count = std::min(count, 15);
    for (int32_t i = 0; i < count; ++i, value /= 10) digits[i] = static_cast<int32_t>(value % 10);
    DrawNumber(sprite, sheet, digits, count, x, y);
}

void DrawTime(Sprite* sprite, const DigitSheet& sheet, int32_t h, int32_t m, int32_t s,
              const TimeLayout& at) {
    auto two = [&](int32_t value, float x) {
        int32_t digits[2] = {value % 10, (value / 10) % 10};
        DrawNumber(sprite, sheet, digits, 2, x, at.y);
    };
    two(s, at.xs[0]);
    DrawSpriteAt(sprite, sheet.texture, ColonRect(sheet), at.colons[0], at.colonY);
    two(m, at.xs[1]);
    DrawSpriteAt(sprite, sheet.texture, ColonRect(sheet), at.colons[1], at.colonY);
    two(h, at.xs[2]);
}
