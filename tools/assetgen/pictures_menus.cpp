// Pictures of the menus: background, title logo and caption, mode select board, options.
#include <algorithm>
#include <cmath>
#include <string>

#include "pictures.h"
#include "theme.h"

namespace pics {

using namespace art;
using namespace theme;

namespace {

void Background() {
    // Shown at about one screen pixel per texel: the menus see texels (26..872, 6..480), play
    // (60..828, 29..452). Opaque everywhere: no cyan, so nothing shows the clear colour.
    Canvas c(1012, 1012);
    c.Fill([](float x, float y) {
        float t = std::clamp(y / 520.0f, 0.0f, 1.0f);
        Color base = Mix(kBgTop, kBgBottom, t);
        float d = std::hypot((x - 450) / 700, (y - 120) / 420);
        base = Mix(base, Hex(0x34469A), std::max(0.0f, 0.6f - d) * 0.45f);
        // Large faint tesserae, staggered like a mosaic floor.
        float cell = 46;
        float row = std::floor(y / cell);
        float fx = std::fmod(x + std::fmod(row, 2.0f) * cell / 2, cell);
        float fy = std::fmod(y, cell);
        float edge = std::min(std::min(fx, cell - fx), std::min(fy, cell - fy));
        if (edge < 1.5f)
            base = Mix(base, kInk, 0.45f);
        else if (edge < 3)
            base = Mix(base, Hex(0x6A7CC8), 0.05f);
        return base;
    });
    // A few gold stars.
    uint32_t seed = 12345;
    auto rnd = [&] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    for (int i = 0; i < 70; ++i) {
        float x = 30 + rnd() * 840, y = 10 + rnd() * 460, r = 0.8f + rnd() * 1.4f;
        c.Shape(Circle(x, y, r), WithAlpha(Mix(kGoldLight, kCream, rnd()), 0.35f + rnd() * 0.4f),
                {int(x) - 4, int(y) - 4, int(x) + 5, int(y) + 5});
    }
    Save("./bmp/背景.bmp", c, kInk);
}

void TitleLogo() {
    // 1012 x 256 on a 20 x 5 quad: about 2.4 texels per screen pixel both ways.
    Canvas c(1012, 256);
    TextStyle s = Display(150);
    s.tracking = 2;
    s.outline = 9;
    s.shadow = 8;
    float base = 158;
    s.fill = GoldFill(base - CapHeight(s), base);
    DrawText(c, "Tessarune", 506, base, Align::Center, s);
    // The five kinds under the name, between two rules.
    float y = 216;
    Rule(c, 170, 400, y, kGold);
    Rule(c, 612, 842, y, kGold);
    for (int k = 1; k <= 5; ++k) Emblem(c, k, 506 + (k - 3) * 44.0f, y, 34);
    Save("./bmp/タイトル.bmp", c, kInk);
}

void TitleCaption() {
    // 512 x 128 on an 8 x 3 quad at (1, -7): composed on the screen, under the logo's centre
    // (x 0), between the two spinning blocks at (-7, -7.3) and (8.8, -7.3).
    Canvas screen(880, 480);
    float cx = Project(0, -7.3f, 0).x, cy = Project(-7, -7.3f, 0).y;
    std::string a = "PRESS", b = "TO START";
    float key = 32, gap = 12, size = 26;
    auto width = [&] {
        return TextWidth(a, Heading(size)) + 2 * gap + key + TextWidth(b, Heading(size));
    };
    // Clear of the spinning blocks on either side.
    float room = 2 * (cx - Project(-7, -7.3f, 0).x - 0.5f * 440 / (1.05848f * 20)) - 16;
    while (width() > room) size -= 1, key -= 1;
    TextStyle s = Heading(size);
    float w = width();
    float x = cx - w / 2;
    DrawTextCentered(screen, a, x, cy, Align::Left, s);
    x += TextWidth(a, s) + gap;
    KeyCap(screen, "Z", x, cy, key);
    x += key + gap;
    DrawTextCentered(screen, b, x, cy, Align::Left, s);
    Save("./bmp/タイトルの文字.bmp", TextureForQuad(screen, {8, 3, 0, 1, -7, 0}, 512, 128), kInk);
}

void ModeSelectBoard() {
    // 1012 x 1012 on a 40 x 20 quad at z 0; each item centred between its two marker blocks.
    Canvas screen(880, 480);
    Panel(screen, 52, 34, 828, 446, 26, true);
    struct Item {
        const char* name;
        const char* note;
        float lx, ly, rx, ry;
    };
    const Item items[6] = {
        {"ENDLESS", "the board keeps rising: chain for the high score", -10.5f, 8.3f, 10.5f, 8.3f},
        {"VERSUS", "a friend or the CPU", -4.0f, 4.8f, 4.5f, 4.8f},
        {"CHALLENGE", "fifteen puzzles with an exact number of swaps", -16.5f, 1.55f, 16.5f, 1.55f},
        {"OPTIONS", "music and effects volume", -8.0f, -1.7f, 10.5f, -1.7f},
        {"QUIT", "", -6.0f, -4.45f, 6.5f, -4.45f},
        {"EXIT TO DESKTOP", "", -6.0f, -7.45f, 6.5f, -7.45f},
    };
    for (const Item& it : items) {
        Point l = Project(it.lx, it.ly, 0), r = Project(it.rx, it.ry, 0);
        // A plate from one marker to the other: the spinning blocks stand on its ends. The name
        // stays on the screen's centre line.
        float size = it.note[0] ? 28.0f : 22.0f, block = 0.45f * 440 / (1.05848f * 20);
        while (TextWidth(it.name, Heading(size)) > r.x - l.x - 2 * block - 8) size -= 1;
        float half = it.note[0] ? 25.0f : 17.0f, cy = l.y + (it.note[0] ? 6.0f : 0.0f);
        screen.Shape(RoundRect(l.x, cy - half, r.x, cy + half, half), Hex(0x0A0E28, 0.7f),
                     {0, 0, 880, 480});
        screen.Shape(Outline(RoundRect(l.x, cy - half, r.x, cy + half, half), 2), kGoldDeep,
                     {0, 0, 880, 480});
        MenuItem(screen, it.name, {440, l.y}, {440, r.y}, size, it.note);
    }
    Hints(screen, {{"↑↓", "choose"}, {"←→", "versus opponent"}, {"Z", "start"}, {"Esc", "quit"}},
          440, 430, 13);
    Save("./bmp/セレクト.bmp", TextureForQuad(screen, {20, 10, 0}, 1012, 1012), kInk);
}

// The versus item's opponent, beside its right marker: four labels of 240 x 48 at rows 0, 64,
// 128 and 192, each a plate in the menu's style with the choice between two side arrows.
void OpponentLabels() {
    Canvas c(256, 256);
    const char* names[4] = {"2 PLAYERS", "CPU EASY", "CPU NORMAL", "CPU HARD"};
    const Color marks[4] = {kCream, kGood, kGold, kAlert};
    for (int i = 0; i < 4; ++i) {
        float top = 64.0f * i, cy = top + 24;
        Box b{0, static_cast<int>(top), 256, static_cast<int>(top) + 64};
        c.Shape(RoundRect(2, top + 2, 238, top + 46, 22), Hex(0x0A0E28, 0.85f), b);
        c.Shape(Outline(RoundRect(2, top + 2, 238, top + 46, 22), 2), kGoldDeep, b);
        for (float d : {-1.0f, 1.0f}) {
            float x = 120 + d * 100;
            auto tri = Polygon({x + d * 8, cy, x - d * 5, cy - 9, x - d * 5, cy + 9});
            c.Shape(Inset(tri, -2), kInk, b);
            c.Shape(tri, VerticalGradient(cy - 9, kGoldLight, cy + 9, kGoldDeep), b);
        }
        // A dot in the strength's colour before the name.
        TextStyle s = Heading(20);
        float w = TextWidth(names[i], s) + 16;
        float x = 120 - w / 2;
        c.Shape(Circle(x + 5, cy, 5), marks[i], b);
        DrawTextCentered(c, names[i], x + 16, cy, Align::Left, s);
    }
    Save("./bmp/対戦相手.bmp", c, kInk);
}

void OptionsScreen() {
    // 880 x 480 on a 64 x 36 quad at z 10: fills the view. The row cursor block spins at
    // (-11, 0.5, -5), (-12, -3, -5), (-12, -7, -5); the level glyphs are sprites at (600, 187)
    // and (600, 290) with the side marks at x 500 and 700.
    Canvas screen(880, 480);
    Backdrop(screen);
    Title(screen, "OPTIONS", 440, 80, 54);
    Hints(screen, {{"↑↓", "row"}, {"←→", "level"}, {"Z", "on Back to leave"}, {"K", "keys"}}, 440,
          124, 14);
    struct Row {
        const char* name;
        const char* note;
        Point cursor;
        float glyphY;
    };
    const Row rows[3] = {{"EFFECTS", "swaps and vanishing blocks", Project(-11, 0.5f, -5), 187},
                         {"MUSIC", "every scene's music", Project(-12, -3, -5), 290},
                         {"BACK", "to the mode select", Project(-12, -7, -5), 0}};
    // Every panel starts at the same x, left of the leftmost cursor, and holds its level slot.
    float x0 = 1e9f;
    for (const Row& r : rows) x0 = std::min(x0, r.cursor.x - 34);
    for (const Row& r : rows) {
        float y = r.cursor.y;
        float x1 = r.glyphY > 0 ? 800 : 480;
        float top = y - 36, bottom = y + 36;
        if (r.glyphY > 0)
            top = std::min(top, r.glyphY - 14), bottom = std::max(bottom, r.glyphY + 78);
        Panel(screen, x0, top, x1, bottom, 16);
        TextStyle h = Heading(30);
        DrawText(screen, r.name, r.cursor.x + 34, y + 2, Align::Left, h);
        DrawText(screen, r.note, r.cursor.x + 36, y + 24, Align::Left, Body(15));
        if (r.glyphY > 0) {
            Slot(screen, 590, r.glyphY - 6, 674, r.glyphY + 70, 10);
        }
    }
    Save("./bmp/オプション.bmp", TextureForQuad(screen, {32, 18, 10}, 880, 480), kInk);
}

// A level meter: four bars, `lit` of them lit, with the volume under it.
void LevelGlyph(Canvas& c, int left, int lit, const char* label) {
    for (int i = 0; i < 4; ++i) {
        float x0 = left + 8.0f + i * 12.5f, x1 = x0 + 9;
        float y1 = 46, y0 = y1 - (12 + i * 10.0f);
        Box b{int(x0) - 2, int(y0) - 2, int(x1) + 3, int(y1) + 3};
        c.Shape(RoundRect(x0 - 1.5f, y0 - 1.5f, x1 + 1.5f, y1 + 1.5f, 3), kInk, b);
        if (i < lit)
            c.Shape(RoundRect(x0, y0, x1, y1, 2), VerticalGradient(y0, kGoldLight, y1, kGold), b);
        else
            c.Shape(RoundRect(x0, y0, x1, y1, 2), Hex(0x2A3468), b);
    }
    TextStyle s = Body(12, lit == 4 ? kGoldLight : kCream);
    s.outline = 1.5f;
    s.outlineColor = kInk;
    DrawText(c, label, left + 31.5f, 61, Align::Center, s);
}

void SideMark(Canvas& c, int left, int top, bool pointsLeft) {
    float cx = left + 32, cy = top + 31;
    float d = pointsLeft ? -1 : 1;
    auto tri = Polygon({cx + d * 16, cy, cx - d * 12, cy - 18, cx - d * 12, cy + 18});
    Box b{left, top, left + 64, top + 63};
    c.Shape(Inset(tri, -3), kInk, b);
    c.Shape(tri, VerticalGradient(cy - 18, kGoldLight, cy + 18, kGoldDeep), b);
}

void OptionsGlyphs() {
    // Level glyphs at (0,0,64,64), (65,0,128,64), (129,0,192,64), (193,0,256,64); side marks
    // at (0,129,64,192) and (65,129,128,192). Everything else stays transparent.
    Canvas c(880, 480);
    const int lefts[4] = {0, 65, 129, 193};
    const char* labels[4] = {"QUIET", "LOW", "MEDIUM", "FULL"};
    for (int level = 0; level < 4; ++level) LevelGlyph(c, lefts[level], level + 1, labels[level]);
    SideMark(c, 0, 129, true);
    SideMark(c, 65, 129, false);
    Save("./bmp/オプションの文字.bmp", c, kInk);
}

} // namespace

void MakeMenuPictures() {
    Background();
    TitleLogo();
    TitleCaption();
    ModeSelectBoard();
    OpponentLabels();
    OptionsScreen();
    OptionsGlyphs();
}

} // namespace pics
