// Pictures of play: cursor frames, wall, score panel, digit sheets, banners, results, the
// pause and end menus of the endless and versus modes, and the versus divider.
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
    // left of the cursor cell's centre: the cell centres fall near texels x 51 and 307. The
    // frame is centred on the pair. Light colours: the game tints it with a red-white pulse.
    // Five frames of one loop: a glint runs round the frame and the corners breathe.
    const char* paths[5] = {"./bmp/カーソル.bmp", "./bmp/カーソル２.bmp", "./bmp/カーソル３.bmp",
                            "./bmp/カーソル４.bmp", "./bmp/カーソル５.bmp"};
    for (int f = 0; f < 5; ++f) {
        Canvas c(512, 256);
        float phase = f / 5.0f;
        float breathe = 6 * std::sin(phase * 2 * 3.14159265f);
        float x0 = 24 - breathe, x1 = 346 + breathe, y0 = 34 - breathe, y1 = 228 + breathe;
        float mid = (x0 + x1) / 2;
        Box all{0, 0, 512, 256};
        // The frame: a bright band with a dark rim.
        auto frame = Outline(RoundRect(x0, y0, x1, y1, 26), 16);
        c.Shape(Inset(frame, -4), Hex(0x202020), all);
        c.Shape(frame, Hex(0xF4F4F4), all);
        // The divider between the two cells.
        c.Shape(Segment(mid, y0 + 22, mid, y1 - 22, 4), Hex(0xD8D8D8), all);
        // Corner brackets outside the frame.
        float e = 12;
        for (int sx : {0, 1})
            for (int sy : {0, 1}) {
                float cx = sx ? x1 + e : x0 - e, cy = sy ? y1 + e : y0 - e;
                float dx = sx ? -1 : 1, dy = sy ? -1 : 1;
                c.Shape(Segment(cx, cy, cx + dx * 44, cy, 5), Hex(0xFFFFFF), all);
                c.Shape(Segment(cx, cy, cx, cy + dy * 44, 5), Hex(0xFFFFFF), all);
            }
        // The glint: a bright spot travelling clockwise round the frame.
        float perimeter = 2 * (x1 - x0) + 2 * (y1 - y0);
        float d = phase * perimeter;
        float gx, gy;
        if (d < x1 - x0)
            gx = x0 + d, gy = y0;
        else if ((d -= x1 - x0) < y1 - y0)
            gx = x1, gy = y0 + d;
        else if ((d -= y1 - y0) < x1 - x0)
            gx = x1 - d, gy = y1;
        else
            gx = x0, gy = y1 - (d - (x1 - x0));
        c.Shape(
            Circle(gx, gy, 22),
            [=](float x, float y) {
                float t = std::hypot(x - gx, y - gy) / 22;
                return WithAlpha(Hex(0xFFFFFF), std::max(0.0f, 1 - t * t));
            },
            all);
        Save(paths[f], c, Hex(0x101010));
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
    // Tesserae in rows, each a slightly different blue.
    const int rows = 16;
    for (int r = 0; r < rows; ++r) {
        float y0 = r * 32.0f, h = 32;
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
    // Drawn 38 pixels apart: tall, narrow figures, ink rows 14..86.
    DigitSheet("./bmp/数字2.bmp", 660, 100, kLargeDigitRects, 55, 1.62f, 84, 3.5f, 0.64f, 5);
}

void ScorePanel() {
    // 260 x 460 at screen (620, 10). Digits (25 x 32, 20 apart) end with their ones at screen
    // x 825, rows at y 45, 100, 155, 205 (this game) and 260, 315, 370, 405 (records); the
    // times have colons at x 710 and 760. Labels sit on the left of each row.
    Canvas c(260, 460);
    Panel(c, 2, 2, 256, 452, 18, true);
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
    auto slot = [&](float screenY, float left) {
        float y = screenY - 10;
        Slot(c, left, y - 1, 210, y + 33, 6);
    };
    TextStyle head = Body(14, kGold);
    head.face = Face::Bold;
    DrawTextCentered(c, "THIS GAME", 130, 22, Align::Center, head);
    const char* names[4] = {"SCORE", "CHAIN", "TIME", "LEVEL"};
    // Rows of this game, then of the records.
    const float rows[2][4] = {{45, 100, 155, 205}, {260, 315, 370, 405}};
    for (int group = 0; group < 2; ++group)
        for (int i = 0; i < 4; ++i) {
            label(names[i], rows[group][i], group == 1);
            slot(rows[group][i], i == 2 ? 56 : 70);
        }
    Rule(c, 24, 236, 239, kGoldDeep);
    DrawTextCentered(c, "Z pause", 130, 436, Align::Center, Body(12, kMuted));
    // Outside the panel: the panel's own transparent colour (255, 255, 254).
    Save("./bmp/スコア表示.bmp", c, kInk);
}

// A banner on a ribbon, centred in a 512-wide band from `top` to `top + height`.
void Banner(Canvas& c, float top, float height, const std::string& text, Color ribbon,
            const std::string& sub, float size) {
    float cy = top + height / 2;
    Ribbon(c, 14, 498, cy, height * 0.72f, ribbon, kGold);
    TextStyle s = Display(size);
    s.outline = 4;
    float base = cy + CapHeight(s) / 2 - (sub.empty() ? 0 : size * 0.16f);
    s.fill = GoldFill(base - CapHeight(s), base);
    DrawText(c, text, 256, base, Align::Center, s);
    if (!sub.empty()) {
        TextStyle t = Heading(17);
        DrawText(c, sub, 256, base + 26, Align::Center, t);
    }
}

void StartBanner() {
    // 512 x 512 at (200, 125): the top half (rows 0..255) wipes in from the left, then the
    // bottom half (rows 257..511) shows.
    Canvas c(512, 512);
    Banner(c, 0, 256, "READY", Hex(0x2B3A86), "", 84);
    Banner(c, 257, 255, "GO!", Hex(0x1F7A46), "", 104);
    Save("./bmp/初め.bmp", c, kInk);
}

void GameOverBanner() {
    // 512 x 128 (the game draws up to 168 rows; the texture holds 128) sliding to (200, 180).
    Canvas c(512, 128);
    Banner(c, 0, 128, "GAME OVER", Hex(0x8C1F2A), "", 64);
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
    // 880 x 480 at (0, 0). Large digits (59 x 100, 38 apart, ink rows 14..86): score ones at
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
        Slot(c, f.slotL, f.digitsY + 8, std::min(f.slotR, 858.0f), f.digitsY + 92, 10);
    }
    DrawText(c, "Z  continue", 848, 108, Align::Right, Body(15));
    Save("./bmp/結果.bmp", c, kInk);
}

} // namespace

// A full-view menu picture for its quad, composed on the screen: each item on a plate between
// its two markers.
void MenuScreen(const char* path, const char* title, float titleY,
                const std::vector<MenuEntry>& items, float markerZ, const Quad& quad) {
    Canvas screen(880, 480);
    Backdrop(screen);
    if (title[0]) {
        TextStyle t = Display(44);
        t.fill = GoldFill(titleY - CapHeight(t), titleY);
        DrawText(screen, title, 440, titleY, Align::Center, t);
    }
    float blockPx = 0.9f * 440 / (1.05848f * (markerZ + 20));
    if (items.size() == 2) { // two items far apart: the five kinds between them
        float y = (items[0].markers.first.y + items[1].markers.first.y) / 2;
        Rule(screen, 180, 340, y, kGoldDeep);
        Rule(screen, 540, 700, y, kGoldDeep);
        for (int k = 1; k <= 5; ++k) Emblem(screen, k, 440 + (k - 3) * 40.0f, y, 28);
    }
    for (const MenuEntry& item : items) {
        auto [l, r] = item.markers;
        float cy = (l.y + r.y) / 2;
        float h = std::max(46.0f, blockPx * 1.5f);
        Panel(screen, l.x - blockPx * 0.9f, cy - h / 2, r.x + blockPx * 0.9f, cy + h / 2, h / 2);
        TextStyle s = Heading(std::min(34.0f, h * 0.55f));
        DrawTextCentered(screen, item.name, (l.x + r.x) / 2, cy, Align::Center, s);
    }
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
    // 16 x 480 at screen x 432: splits the two boards.
    Canvas c(16, 480);
    c.Shape(RoundRect(2, 0, 14, 480, 0), VerticalGradient(0, kPanel, 480, kPanelDeep),
            {0, 0, 16, 480});
    c.Shape(RoundRect(2, 0, 3.5f, 480, 0), kGold, {0, 0, 16, 480});
    c.Shape(RoundRect(12.5f, 0, 14, 480, 0), kGold, {0, 0, 16, 480});
    for (float y = 40; y < 480; y += 80) {
        auto gem = Polygon({8, y - 7, 14, y, 8, y + 7, 2, y});
        c.Shape(gem, kGoldLight, {0, int(y) - 8, 16, int(y) + 9});
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
