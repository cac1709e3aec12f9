// The game's one look: palette, type styles, the standard camera's screen mapping and the
// shared pieces (panels, block emblems, key caps, ribbons) every picture is built from.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "text.h"

namespace theme {

using art::Color;
using art::Hex;

// Night indigo with gold, and one colour per block kind.
inline const Color kBgTop = Hex(0x1B2454);
inline const Color kBgBottom = Hex(0x0A0E24);
inline const Color kPanel = Hex(0x18204A);
inline const Color kPanelDeep = Hex(0x0E1333);
inline const Color kPanelEdge = Hex(0x3A4A8C);
inline const Color kSlot = Hex(0x080B1E);
inline const Color kGold = Hex(0xF2C14E);
inline const Color kGoldDeep = Hex(0xB9801F);
inline const Color kGoldLight = Hex(0xFFE7A3);
inline const Color kCream = Hex(0xF6EEDC);
inline const Color kMuted = Hex(0xA3B2DA);
inline const Color kInk = Hex(0x0A0D22);
inline const Color kAlert = Hex(0xE8473F);
inline const Color kGood = Hex(0x4CD680);
// Block kinds 1..5 (index 0 unused): raspberry orb, amber pyramid, green cube, sky diamond,
// violet cross; apart for colour-blind players too (the models carry the same colours).
inline const Color kKind[6] = {Hex(0x808080), Hex(0xB8336A), Hex(0xFFC02E),
                               Hex(0x1F8F3A), Hex(0x40C8F8), Hex(0x8C3CE8)};

// Type styles.
art::TextStyle Display(float size);                // gold display lettering
art::TextStyle Heading(float size);                // cream bold with outline
art::TextStyle Body(float size, Color c = kMuted); // condensed text on panels
art::Paint GoldFill(float top, float bottom);

// World point to screen pixel with the standard camera (eye (0, 0, -20), fov 60, 880 x 480).
struct Point {
    float x, y;
};
Point Project(float x, float y, float z);

// A textured quad of half-size w x h at depth z, moved by (tx, ty, tz).
struct Quad {
    float w, h, z, tx = 0, ty = 0, tz = 0;
};
// The texture (texW x texH) that shows `screen` (880 x 480, composed in screen pixels) where
// the quad stands.
art::Canvas TextureForQuad(const art::Canvas& screen, const Quad& quad, int texW, int texH);

// A gold display title centred on x with its baseline at y.
void Title(art::Canvas& c, const std::string& text, float x, float y, float size);
// Full-view backdrop: indigo gradient with a faint mosaic.
void Backdrop(art::Canvas& c);
// A framed panel.
void Panel(art::Canvas& c, float x0, float y0, float x1, float y1, float radius,
           bool goldEdge = false);
// A recessed slot where digits or glyphs are shown.
void Slot(art::Canvas& c, float x0, float y0, float x1, float y1, float radius);
// The flat emblem of a block kind (1..5) centred at (cx, cy), `size` wide.
void Emblem(art::Canvas& c, int kind, float cx, float cy, float size, float alpha = 1);
// A key cap with a label, its left edge at x, vertically centred on y; returns its width.
float KeyCap(art::Canvas& c, const std::string& label, float x, float y, float height);
// A line of hints "[key] text   [key] text", centred on x at y.
void Hints(art::Canvas& c, const std::vector<std::pair<std::string, std::string>>& items, float x,
           float y, float size);
float HintsWidth(const std::vector<std::pair<std::string, std::string>>& items, float size);
// A horizontal ornament: a gold rule with a diamond in the middle.
void Rule(art::Canvas& c, float x0, float x1, float y, Color color = kGold);
// A banner ribbon from x0 to x1 centred on y with pointed ends.
void Ribbon(art::Canvas& c, float x0, float x1, float cy, float height, Color fill, Color edge);
// A menu item: its text centred between two marker points on the screen.
void MenuItem(art::Canvas& c, const std::string& text, Point left, Point right, float size,
              const std::string& note = {});

} // namespace theme
