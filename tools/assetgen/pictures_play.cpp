// Pictures of play: cursor frames, wall, score panel, digit sheets, banners, results, the
// pause and end menus of the endless and versus modes, and the versus divider.
#include <algorithm>
#include <cmath>
#include <string>

#include "media/manifest.h"
#include "pictures.h"
#include "theme.h"

namespace pics {

using namespace art;
using namespace theme;

namespace {

void Cursors() {
    // 512 x 256 stretched over a quad two cells wide and one high that starts a fifth of a cell
    // left of the cursor cell's centre: about 15 texels per screen pixel across and 8.5 down.
    // A bold light band (3 pixels) between dark edges, so that it stands out on every block and
    // on the backdrop at both ends of the game's red-white pulse. Five frames of one loop: dark
    // notches march clockwise round the band, a fifth of their spacing per frame.
    const char* paths[5] = {"./bmp/カーソル.bmp", "./bmp/カーソル２.bmp", "./bmp/カーソル３.bmp",
                            "./bmp/カーソル４.bmp", "./bmp/カーソル５.bmp"};
    const float x0 = 20, x1 = 350, y0 = 16, y1 = 244; // the band's outer edge
    const float bandX = 46, bandY = 27, edgeX = 18, edgeY = 11;
    auto band = [](float l, float t, float r, float b, float wx, float wy) -> Sdf {
        Sdf outer = RoundRect(l, t, r, b, 0), inner = RoundRect(l + wx, t + wy, r - wx, b - wy, 0);
        return [=](float x, float y) { return std::max(outer(x, y), -inner(x, y)); };
    };
    const Color dark = Hex(0x15131A), light = Hex(0xFFFFFF);
    for (int f = 0; f < 5; ++f) {
        Canvas c(512, 256);
        Box all{0, 0, 512, 256};
        c.Shape(band(x0 - edgeX, y0 - edgeY, x1 + edgeX, y1 + edgeY, bandX + 2 * edgeX,
                     bandY + 2 * edgeY),
                dark, all);
        c.Shape(band(x0, y0, x1, y1, bandX, bandY), light, all);
        // The notches: every 120 texels along the top and bottom, every 70 down the sides
        // (about 8 pixels on screen), moving clockwise.
        float shift = f / 5.0f;
        for (float k = -1; k < 6; ++k) {
            float x = x0 + bandX + (k + shift) * 120, xb = x1 - bandX - (k + shift) * 120;
            for (auto [nx, top] : {std::pair{x, true}, std::pair{xb, false}}) {
                if (nx < x0 + bandX || nx > x1 - bandX) continue;
                float ny0 = top ? y0 : y1 - bandY;
                c.Shape(RoundRect(nx - 9, ny0, nx + 9, ny0 + bandY, 0), dark, all);
            }
            float y = y0 + bandY + (k + shift) * 70, yb = y1 - bandY - (k + shift) * 70;
            for (auto [ny, right] : {std::pair{y, true}, std::pair{yb, false}}) {
                if (ny < y0 + bandY || ny > y1 - bandY) continue;
                float nx0 = right ? x1 - bandX : x0;
                c.Shape(RoundRect(nx0, ny - 5, nx0 + bandX, ny + 5, 0), dark, all);
            }
        }
        // The seam between the two marked cells.
        float mid = (x0 + x1) / 2;
        c.Shape(RoundRect(mid - 14, y0 + bandY, mid + 14, y1 - bandY, 0), dark, all);
        c.Shape(RoundRect(mid - 6, y0 + bandY, mid + 6, y1 - bandY, 0), light, all);
        Save(paths[f], c, dark);
    }
}

void Wall() {
    // 512 x 512, stretched over the walls behind the board; the game lights it with an
    // emissive share of 0.8, so it is kept dark. Opaque: the wall's key matches nothing.
    Canvas c(512, 512);
    c.Fill(VerticalGradient(0, Hex(0x222C5E), 512, Hex(0x121738)));
    uint32_t seed = 99;
    auto rnd = [&] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    // Tesserae in rows that line up with the board's rows. Both walls span local y 11.2 down
    // to -10.5 and stand 0.7 lower; a board row Y spans world y (Y - 6.5) * 1.7 upwards for
    // 1.7 (with the board at rest): the row edges fall every 40.1 texels from texel 27.4.
    const float rowH = 1.7f / 21.7f * 512, top = (11.2f - (6 * 1.7f - 0.85f + 0.7f)) / 21.7f * 512;
    const int rows = 14;
    for (int r = -1; r < rows; ++r) {
        float y0 = top + r * rowH, h = rowH;
        float x = -rnd() * 30;
        while (x < 512) {
            float w = 26 + rnd() * 30;
            Color tile = Mix(Hex(0x26326A), Hex(0x1A2150), rnd());
            tile = Mix(tile, Hex(0x3A4C96), rnd() * 0.25f);
            float ty = y0;
            c.Shape(RoundRect(x + 2, ty + 2, x + w - 2, ty + h - 2, 4),
                    VerticalGradient(ty, Mix(tile, Hex(0xFFFFFF), 0.05f), ty + h, tile),
                    {int(x), int(ty), int(x + w) + 1, int(ty + h) + 1});
            x += w;
        }
    }
    // The faint grid: a light seam at every row edge.
    for (int r = -1; r < rows; ++r) {
        float y = top + r * rowH;
        c.Shape(RoundRect(0, y - 1.2f, 512, y + 1.2f, 0), Hex(0x5A6CB8, 0.55f),
                {0, int(y) - 3, 512, int(y) + 4});
    }
    // A gold line along the top edge.
    c.Shape(RoundRect(0, 0, 512, 6, 0), kGoldDeep, {0, 0, 512, 8});
    Save("./bmp/壁.bmp", c, kInk);
}

// Digits 1..9, 0 and a colon, each in its cell; the cells' gaps stay transparent.
void DigitSheet(const char* path, int width, int height, const platform::Rect* rects, float size,
                float stretchY, float baseline, float outline, float colonAt, float colonLift) {
    Canvas c(width, height);
    const char* glyphs[11] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ":"};
    TextStyle s;
    s.face = Face::Condensed;
    s.size = size;
    s.stretchY = stretchY;
    s.outline = outline;
    s.outlineColor = kInk;
    float top = baseline - CapHeight(s);
    s.fill = GoldFill(top, baseline);
    for (int i = 0; i < 11; ++i) {
        Canvas cell(rects[i].right - rects[i].left, height);
        // The colon stands between two figures that are drawn further apart than the rest:
        // its ink sits right of the cell's middle, and on the results screen the colon is
        // drawn 5 pixels lower than the figures, which `colonLift` takes back.
        float x = cell.width * (i == 10 ? colonAt : 0.5f);
        float y = baseline - (i == 10 ? colonLift : 0);
        DrawText(cell, glyphs[i], x, y, Align::Center, s);
        c.Draw(cell, rects[i].left, 0);
    }
    Save(path, c, kInk);
}

void Digits() {
    // Drawn 20 pixels apart: the ink stays within 18 pixels.
    DigitSheet("./bmp/数字.bmp", 276, 32, kSmallDigitRects, 25, 1.12f, 28, 2, 0.7f, 0);
    // Drawn 38 pixels apart: tall, narrow figures, ink rows 30..86, so that drawn at y 25 over
    // the challenge's count label (which starts at y 50) they stand inside it.
    DigitSheet("./bmp/数字2.bmp", 660, 100, kLargeDigitRects, 55, 1.23f, 84, 3.5f, 0.64f, 5);
}

void ScorePanel() {
    // 260 x 460 at screen (620, 10). Digits (25 x 32, 20 apart) end with their ones at screen
    // x 825, rows at y 45, 100, 155, 205 (this game) and 260, 315, 370, 405 (records); the
    // times have colons at x 710 and 760. Labels sit on the left of each row; the keys of play
    // fill the foot of the panel.
    Canvas c(260, 460);
    Panel(c, 2, 2, 256, 458, 18, true);
    auto label = [&](const char* text, float screenY, bool best) {
        float y = screenY - 10 + 16;
        if (!best) {
            DrawTextCentered(c, text, 16, y, Align::Left, Heading(13));
            return;
        }
        TextStyle small = Body(10, kGold);
        small.face = Face::Bold;
        DrawTextCentered(c, "BEST", 16, y - 8, Align::Left, small);
        DrawTextCentered(c, text, 16, y + 6, Align::Left, Heading(12));
    };
    TextStyle head = Body(14, kGold);
    head.face = Face::Bold;
    DrawTextCentered(c, "THIS GAME", 130, 22, Align::Center, head);
    const char* names[4] = {"SCORE", "CHAIN", "TIME", "LEVEL"};
    // Rows of this game, then of the records. The last two records stand only three pixels
    // apart: they share one slot, split by a rule.
    const float rows[2][4] = {{45, 100, 155, 205}, {260, 315, 370, 405}};
    for (int group = 0; group < 2; ++group)
        for (int i = 0; i < 4; ++i) {
            label(names[i], rows[group][i], group == 1);
            float y = rows[group][i] - 10, left = i == 2 ? 56 : 70;
            if (group == 1 && i == 3) continue;
            float bottom = group == 1 && i == 2 ? rows[1][3] - 10 + 33 : y + 33;
            Slot(c, left, y - 1, 210, bottom, 6);
        }
    float seam = (rows[1][2] + 32 + rows[1][3]) / 2 - 10;
    c.Shape(Segment(62, seam, 204, seam, 0.75f), kPanelEdge,
            {56, int(seam) - 2, 212, int(seam) + 3});
    Rule(c, 24, 236, 239, kGoldDeep);
    // The keys, in two lines below the records.
    const std::vector<std::pair<std::string, std::string>> keys[2] = {
        {{"↑↓←→", "move"}, {"X", "swap"}, {"A", "faster"}},
        {{"⇧+↑↓", "deeper"}, {"R", "give up"}, {"Z", "pause"}}};
    for (int line = 0; line < 2; ++line) {
        float size = 9;
        while (HintsWidth(keys[line], size) > 236) size -= 0.25f;
        Hints(c, keys[line], 129, 438 + line * 12.5f, size);
    }
    // Outside the panel: the panel's own transparent colour (255, 255, 254).
    Save("./bmp/スコア表示.bmp", c, kInk);
}

// The endless banners stand at screen x 200; the score panel starts at 620: their ribbons end
// short of it.
constexpr float kClearOfPanel = 406;

void StartBanner() {
    // 512 x 512 at (200, 125): the top half (rows 0..255) wipes in from the left, then the
    // bottom half (rows 257..511) shows.
    Canvas c(512, 512);
    Banner(c, 0, 256, "READY", Hex(0x2B3A86), "", 84, 14, kClearOfPanel);
    Banner(c, 257, 255, "GO!", Hex(0x1F7A46), "", 104, 14, kClearOfPanel);
    Save("./bmp/初め.bmp", c, kInk);
}

void GameOverBanner() {
    // 512 x 128 (the game draws up to 168 rows; the texture holds 128) sliding to (200, 180).
    Canvas c(512, 128);
    Banner(c, 0, 128, "GAME OVER", Hex(0x8C1F2A), "", 64, 14, kClearOfPanel);
    Save("./bmp/ゲームオーバー.bmp", c, kInk);
}

void NewRecord() {
    // 350 x 50 above a figure of the results screen.
    Canvas c(350, 50);
    auto shape = RoundRect(40, 6, 310, 44, 19);
    c.Shape(Inset(shape, -2.5f), kInk, {0, 0, 350, 50});
    c.Shape(shape, VerticalGradient(6, kGoldLight, 44, kGoldDeep), {0, 0, 350, 50});
    TextStyle s = Heading(22);
    s.fill = Solid(Hex(0x3A1A06));
    s.outline = 0;
    s.shadow = 0;
    s.tracking = 2;
    DrawTextCentered(c, "NEW RECORD!", 175, 25, Align::Center, s);
    for (float x : {24.0f, 326.0f}) {
        auto star = Polygon(
            {x, 11, x + 4, 21, x + 13, 25, x + 4, 29, x, 39, x - 4, 29, x - 13, 25, x - 4, 21});
        c.Shape(Inset(star, -2), kInk, {int(x) - 16, 0, int(x) + 17, 50});
        c.Shape(star, kGoldLight, {int(x) - 16, 0, int(x) + 17, 50});
    }
    Save("./bmp/記録更新.bmp", c, kInk);
}

void Results() {
    // 880 x 480 at (0, 0). Large digits (59 x 100, 38 apart, ink rows 30..86): score ones at
    // x 350, chain at 800 (y 200); time seconds 350, minutes 254, hours 153, colons 274 and 173;
    // level at 800 (y 370). New-record labels at (50, 130), (500, 130), (50, 290), (500, 290).
    Canvas c(880, 480);
    Backdrop(c);
    Title(c, "RESULTS", 440, 70, 50);
    Rule(c, 250, 630, 96, kGold);
    Panel(c, 20, 120, 868, 472, 22);
    c.Shape(Segment(440, 140, 440, 452, 1), kPanelEdge, {430, 130, 450, 460});
    c.Shape(Segment(40, 288, 848, 288, 1), kPanelEdge, {30, 280, 860, 296});
    struct Field {
        const char* name;
        float x, y;         // caption's left and baseline
        float slotL, slotR; // where the figures stand
        float digitsY;
    };
    const Field fields[4] = {{"SCORE", 60, 206, 140, 418, 200},
                             {"LONGEST CHAIN", 510, 206, 690, 868, 200},
                             {"PLAYING TIME", 60, 376, 102, 418, 370},
                             {"LEVEL", 510, 376, 690, 868, 370}};
    for (const Field& f : fields) {
        DrawText(c, f.name, f.x, f.y, Align::Left, Heading(20));
        Slot(c, f.slotL, f.digitsY + 20, std::min(f.slotR, 858.0f), f.digitsY + 94, 10);
    }
    const std::vector<std::pair<std::string, std::string>> next = {{"Z", "continue"}};
    Hints(c, next, 848 - HintsWidth(next, 15) / 2, 103, 15);
    Save("./bmp/結果.bmp", c, kInk);
}

} // namespace

// A banner on a ribbon from x0 to x1 in the band from `top` to `top + height`; the lettering
// shrinks until it keeps clear of the ribbon's notched ends.
void Banner(Canvas& c, float top, float height, const std::string& text, Color ribbon,
            const std::string& sub, float size, float x0, float x1) {
    float cy = top + height / 2, h = height * 0.72f, cx = (x0 + x1) / 2;
    Ribbon(c, x0, x1, cy, h, ribbon, kGold);
    float room = x1 - x0 - 2 * h * 0.35f - 28;
    TextStyle s = Display(size);
    s.outline = 4;
    while (TextWidth(text, s) > room) s = Display(size -= 2), s.outline = 4;
    float base = cy + CapHeight(s) / 2 - (sub.empty() ? 0 : size * 0.16f);
    s.fill = GoldFill(base - CapHeight(s), base);
    DrawText(c, text, cx, base, Align::Center, s);
    if (!sub.empty()) {
        TextStyle t = Heading(17);
        DrawText(c, sub, cx, base + 26, Align::Center, t);
    }
}

// A full-view menu picture for its quad, composed on the screen: each item on a plate that
// runs from one marker to the other, its name centred on the screen; a heading above and the
// keys below where there is room.
void MenuScreen(const char* path, const char* title, float titleY,
                const std::vector<MenuEntry>& items, float markerZ, const Quad& quad) {
    Canvas screen(880, 480);
    Backdrop(screen);
    float blockPx = 0.9f * 440 / (1.05848f * (markerZ + 20));
    float h = std::max(46.0f, blockPx * 1.5f);
    float firstTop = items.front().markers.first.y - h / 2,
          lastBottom = items.back().markers.first.y + h / 2;
    if (title[0]) {
        TextStyle t = Display(44);
        t.fill = GoldFill(titleY - CapHeight(t), titleY);
        DrawText(screen, title, 440, titleY, Align::Center, t);
    } else if (firstTop > 22) { // a smaller heading where the first plate stands high
        TextStyle t = Display(std::min(40.0f, firstTop - 8));
        float base = firstTop - 6;
        t.fill = GoldFill(base - CapHeight(t), base);
        DrawText(screen, "WHAT NEXT?", 440, base, Align::Center, t);
    }
    if (items.size() == 2) { // two items far apart: the five kinds between them
        float y = (items[0].markers.first.y + items[1].markers.first.y) / 2;
        Rule(screen, 180, 340, y, kGoldDeep);
        Rule(screen, 540, 700, y, kGoldDeep);
        for (int k = 1; k <= 5; ++k) Emblem(screen, k, 440 + (k - 3) * 40.0f, y, 28);
    }
    for (const MenuEntry& item : items) {
        auto [l, r] = item.markers;
        float cy = (l.y + r.y) / 2;
        Panel(screen, l.x, cy - h / 2, r.x, cy + h / 2, h / 2, true);
        TextStyle s = Heading(std::min(34.0f, h * 0.55f));
        float room = r.x - l.x - 2 * blockPx;
        while (TextWidth(item.name, s) > room) s = Heading(s.size - 1);
        // On the screen's centre line when that keeps the name clear of both markers.
        float half = TextWidth(item.name, s) / 2, cx = 440;
        cx = std::clamp(cx, l.x + blockPx + half, r.x - blockPx - half);
        DrawTextCentered(screen, item.name, cx, cy, Align::Center, s);
    }
    if (lastBottom < 446) Hints(screen, {{"↑↓", "choose"}, {"Z", "confirm"}}, 440, 462, 13);
    Save(path, TextureForQuad(screen, quad, 880, 480), kInk);
}

std::pair<Point, Point> Markers(float lx, float rx, float y, float z) {
    return {Project(lx, y, z), Project(rx, y, z)};
}

namespace {

void PauseAndEnd() {
    // Endless and versus pause (markers at z -8) and end menu (z -12).
    MenuScreen("./bmp/ポーズ.bmp", "PAUSED", 96,
               {{"RESUME", Markers(-5.7f, 5.5f, 1.7f, -8)},
                {"RESTART", Markers(-4.7f, 4.5f, -1.3f, -8)},
                {"MODE SELECT", Markers(-5.7f, 5.5f, -4.65f, -8)}},
               -8, {23, 12, 0});
    MenuScreen("./bmp/ゲーム終了画面.bmp", "", 0,
               {{"PLAY AGAIN", {Project(-7, 3, -12), Project(6, 3, -12)}},
                {"MODE SELECT", {Project(-7.2f, -1.7f, -12), Project(6.7f, -1.7f, -12)}}},
               -12, {23, 12, 0});
}

void Divider() {
    // 16 x 480 at screen x 432: splits the two boards. Each player's keys run down it, turned
    // to read top to bottom: the left player's in the upper half, the right player's below.
    Canvas c(16, 480);
    c.Shape(RoundRect(2, 0, 14, 480, 0), VerticalGradient(0, kPanel, 480, kPanelDeep),
            {0, 0, 16, 480});
    c.Shape(RoundRect(2, 0, 3.5f, 480, 0), kGold, {0, 0, 16, 480});
    c.Shape(RoundRect(12.5f, 0, 14, 480, 0), kGold, {0, 0, 16, 480});
    const char* keys[2] = {"◀ LEFT  G B V N move · Shift+G/B depth · A swap · Q faster",
                           "RIGHT ▶  arrows move · K, Enter+K depth · J swap · U faster"};
    for (int half = 0; half < 2; ++half) {
        Canvas strip(236, 16);
        TextStyle s = Body(10, half ? kCream : kGoldLight);
        s.face = Face::Bold;
        while (TextWidth(keys[half], s) > 228) s.size -= 0.25f;
        DrawTextCentered(strip, keys[half], 118, 8, Align::Center, s);
        // Turned a quarter clockwise: the strip's x runs down the divider.
        for (int y = 0; y < 236; ++y)
            for (int x = 0; x < 16; ++x) {
                Color p = strip.At(y, 15 - x);
                if (p.a > 0) c.Blend(x, 2 + half * 242 + y, p, 1);
            }
    }
    Save("./bmp/真ん中の枠.bmp", c, kInk);
}

void VersusBanner() {
    // 512 x 512 sliding to (200, 180): top half when the left side lost, bottom half when the
    // right side lost.
    Canvas c(512, 512);
    Banner(c, 0, 256, "RIGHT WINS!", Hex(0x6B2A8C), "the left board topped out", 62);
    Banner(c, 257, 255, "LEFT WINS!", Hex(0x2B6A9C), "the right board topped out", 62);
    Save("./bmp/勝敗.bmp", c, kInk);
}

} // namespace

void MakePlayPictures() {
    Cursors();
    Wall();
    Digits();
    ScorePanel();
    StartBanner();
    GameOverBanner();
    NewRecord();
    Results();
    PauseAndEnd();
    Divider();
    VersusBanner();
}

} // namespace pics
