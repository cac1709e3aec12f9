// The game's pictures: each is painted, checked against the size and colour key the game loads
// it with, and written as a BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "theme.h"

namespace pics {

struct Picture {
    std::string path;
    int width, height;
    uint32_t colorKey;         // ARGB as the game loads it
    std::vector<uint32_t> rgb; // as written, top row first
};

// Flattens the canvas (texels less than half covered take the file's colour key, edges are
// composed over `matte`) and writes it; stops the program when the picture is larger than the
// texture the game loads it into.
void Save(const char* gamePath, const art::Canvas& canvas, art::Color matte);
const std::vector<Picture>& Saved();

// A banner on a ribbon from x0 to x1 in the band from `top` to `top + height`, with an optional
// line under the lettering; the lettering shrinks until it keeps clear of the ribbon's notches.
void Banner(art::Canvas& c, float top, float height, const std::string& text, theme::Color ribbon,
            const std::string& sub, float size, float x0 = 14, float x1 = 498);

// A full-view menu picture on `quad` with a title and items, each between its markers (screen
// points of marker blocks at depth markerZ).
struct MenuEntry {
    std::string name;
    std::pair<theme::Point, theme::Point> markers;
};
void MenuScreen(const char* path, const char* title, float titleY,
                const std::vector<MenuEntry>& items, float markerZ, const theme::Quad& quad);
// The screen points of two markers at (lx, y, z) and (rx, y, z).
std::pair<theme::Point, theme::Point> Markers(float lx, float rx, float y, float z);

void MakeMenuPictures();      // background, title, mode select, options
void MakePlayPictures();      // cursor, wall, score panel, digits, banners, results, menus
void MakeChallengePictures(); // level select, explanation, count, result banner, menus
void MakeKeyPictures();       // the key screen

} // namespace pics
