// Text set with FreeType in the game's one type family (DejaVu Sans).
#pragma once

#include <string>

#include "canvas.h"

namespace art {

enum class Face { Bold, Condensed, Regular };

struct TextStyle {
    Face face = Face::Bold;
    float size = 24;    // pixels per em
    float stretchX = 1; // horizontal scale of the glyphs
    float stretchY = 1; // vertical scale of the glyphs
    float tracking = 0; // extra pixels between letters
    Paint fill = Solid(Hex(0xF6EEDC));
    float outline = 0; // width of the outline in pixels (0: none)
    Color outlineColor = Hex(0x0B0F26);
    float shadow = 0; // drop shadow offset down and right (0: none)
    Color shadowColor = Hex(0x000000, 0.6f);
};

enum class Align { Left, Center, Right };

// Loads the fonts once; exits with a message when they are missing.
void InitFonts();

// Coverage of the text with its origin: the pen starts at (originX, baselineY) in the mask.
struct TextMask {
    Mask mask;
    int originX = 0, baselineY = 0;
    float advance = 0; // width of the set text
    float ascent = 0;  // height of capitals above the baseline
};
TextMask SetText(const std::string& utf8, const TextStyle& style);
float TextWidth(const std::string& utf8, const TextStyle& style);
// Height of a capital letter in the style.
float CapHeight(const TextStyle& style);

// Draws the text with its baseline at y, aligned on x.
void DrawText(Canvas& canvas, const std::string& utf8, float x, float y, Align align,
              const TextStyle& style);
// The same, vertically centred on the capital letters' middle at y.
void DrawTextCentered(Canvas& canvas, const std::string& utf8, float x, float y, Align align,
                      const TextStyle& style);

} // namespace art
