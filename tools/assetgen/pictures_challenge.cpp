// Pictures of the challenge mode: level select with its frame, explanation, swap count,
// cleared / failed banner, and the pause and end menus.
#include <algorithm>
#include <cmath>
#include <string>

#include "modes/challenge/levels.h"
#include "pictures.h"
#include "theme.h"

namespace pics {

using namespace art;
using namespace theme;

namespace {

// A tiny oblique view of a level's blocks inside the box (x0, y0)..(x1, y1).
void LevelPreview(Canvas& c, const ChallengeLevel& level, float x0, float y0, float x1, float y1) {
    using B = LevelBlock;
    std::vector<B> blocks(level.blocks, level.blocks + level.count);
    auto sx = [](const B& b) { return b.x * 1.0f + b.z * 0.5f; };
    auto sy = [](const B& b) { return -b.y * 0.85f - b.z * 0.45f; };
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const B& b : blocks) {
        minX = std::min(minX, sx(b));
        maxX = std::max(maxX, sx(b));
        minY = std::min(minY, sy(b));
        maxY = std::max(maxY, sy(b));
    }
    float unit = std::min({13.0f, (x1 - x0 - 14) / std::max(1.0f, maxX - minX),
                           (y1 - y0 - 14) / std::max(1.0f, maxY - minY)});
    float ox = (x0 + x1) / 2 - (minX + maxX) / 2 * unit;
    float oy = (y0 + y1) / 2 - (minY + maxY) / 2 * unit;
    // Far blocks first: deeper Z, then lower rows, then left to right.
    std::sort(blocks.begin(), blocks.end(), [](const B& a, const B& b) {
        if (a.z != b.z) return a.z > b.z;
        if (a.y != b.y) return a.y < b.y;
        return a.x < b.x;
    });
    for (const B& b : blocks)
        Emblem(c, b.kind, ox + sx(b) * unit, oy + sy(b) * unit, unit * 0.95f, 1.0f - b.z * 0.12f);
}

std::string SwapsLine(const ChallengeLevel& lv) {
    return std::to_string(lv.swaps) + (lv.swaps == 1 ? " SWAP" : " SWAPS");
}
std::string ChainLine(const ChallengeLevel& lv) {
    return "CHAIN " + std::to_string(lv.chain);
}

const Color kTier[3] = {Hex(0x4CD680), Hex(0xF5B82E), Hex(0xE8473F)};

void LevelSelect() {
    // 880 x 480 at (0, 0). Level n sits where the frame goes: x 6 + 176 ((n - 1) mod 5),
    // y 119 + 120 ((n - 1) div 5); the frame is 172 wide and 116 high.
    Canvas c(880, 480);
    Backdrop(c);
    Title(c, "CHALLENGE", 440, 50, 40);
    DrawText(c, "Empty the board with exactly the swaps shown and make the chain shown.", 440, 76,
             Align::Center, Body(16, kCream));
    Hints(c, {{"←→↑↓", "choose"}, {"Z", "play"}}, 440, 101, 13);
    // One size for every tile's swaps and chain lines: the widest keeps inside the column
    // left of the preview, clear of the tile's rim.
    float lineSize = 13;
    for (const ChallengeLevel& lv : kChallengeLevels)
        while (TextWidth(SwapsLine(lv), Body(lineSize, kCream)) > 52 ||
               TextWidth(ChainLine(lv), Body(lineSize, kGold)) > 52)
            lineSize -= 0.5f;
    for (int n = 1; n <= 15; ++n) {
        int col = (n - 1) % 5, row = (n - 1) / 5;
        float x0 = 6 + 176.0f * col, y0 = 119 + 120.0f * row;
        float l = x0 + 7, t = y0 + 7, r = x0 + 165, b = y0 + 109;
        Box box{int(x0), int(y0), int(x0) + 173, int(y0) + 117};
        c.Shape(RoundRect(l + 3, t + 4, r + 3, b + 4, 12), Hex(0x000000, 0.45f), box);
        c.Shape(RoundRect(l, t, r, b, 12), VerticalGradient(t, kPanel, b, kPanelDeep), box);
        c.Shape(Outline(RoundRect(l + 1, t + 1, r - 1, b - 1, 11), 2),
                Mix(kTier[row], kPanelEdge, 0.45f), box);
        c.Shape(RoundRect(l + 10, t + 1, l + 58, t + 5, 2), kTier[row], box);
        TextStyle num = Display(36);
        num.fill = GoldFill(t + 46 - CapHeight(num), t + 46);
        num.outline = 3;
        num.shadow = 3;
        DrawText(c, std::to_string(n), l + 33, t + 46, Align::Center, num);
        Slot(c, l + 66, t + 8, r - 8, b - 8, 8);
        const ChallengeLevel& lv = kChallengeLevels[n - 1];
        LevelPreview(c, lv, l + 66, t + 8, r - 8, b - 8);
        std::string swaps = SwapsLine(lv), chain = ChainLine(lv);
        DrawText(c, swaps, l + 33, t + 69, Align::Center, Body(lineSize, kCream));
        DrawText(c, chain, l + 33, t + 87, Align::Center, Body(lineSize, kGold));
    }
    Save("./bmp/レベル選択.bmp", c, kInk);
}

void Frame() {
    // 172 x 227; the frame around one tile takes the top 116 rows, the rest stays clear.
    Canvas c(172, 227);
    Box box{0, 0, 172, 120};
    auto ring = Outline(RoundRect(4, 4, 168, 112, 14), 6);
    c.Shape(Inset(ring, -2), kInk, box);
    c.Shape(ring, VerticalGradient(0, kGoldLight, 116, kGoldDeep), box);
    for (float x : {4.0f, 168.0f})
        for (float y : {4.0f, 112.0f}) {
            auto gem = Polygon({x, y - 9, x + 9, y, x, y + 9, x - 9, y});
            c.Shape(Inset(gem, -2), kInk, box);
            c.Shape(gem, kGoldLight, box);
        }
    Save("./bmp/枠.bmp", c, kInk);
}

void Explanation() {
    // 880 x 480 at (0, 0). The swap count is drawn over it from the large digits, scaled 1.5 x
    // 1.6, ones at x 410 and tens at 350, y 15: its figures cover about x 368..480, y 63..153.
    // The demanded chain follows in the same digits at x 680: about x 698..750.
    Canvas c(880, 480);
    Backdrop(c);
    TextStyle big = Heading(34);
    Slot(c, 352, 26, 498, 164, 16);
    DrawTextCentered(c, "SWAPS", 330, 95, Align::Right, big);
    Slot(c, 672, 26, 778, 164, 16);
    DrawTextCentered(c, "CHAIN", 650, 95, Align::Right, big);
    Panel(c, 40, 188, 840, 466, 22, true);
    TextStyle head = Display(26);
    head.fill = GoldFill(230 - CapHeight(head), 230);
    DrawText(c, "THE CHALLENGE", 440, 230, Align::Center, head);
    const char* lines[3] = {
        "Empty the board with exactly the swaps shown above: no more, no fewer.",
        "Your longest chain must be exactly the chain shown above.",
        "The verdict comes after your last swap, once every block has settled."};
    for (int i = 0; i < 3; ++i) {
        float y = 276 + i * 40.0f;
        Emblem(c, i + 1, 84, y, 20);
        DrawTextCentered(c, lines[i], 106, y, Align::Left, Body(18, kCream));
    }
    Rule(c, 120, 760, 396, kGoldDeep);
    Hints(c, {{"←→↑↓", "move"}, {"Shift+↑↓", "depth"}, {"X", "swap"}, {"Z", "pause"}}, 440, 422,
          14);
    Hints(c, {{"Z", "start"}}, 440, 450, 14);
    Save("./bmp/説明.bmp", c, kInk);
}

void CountLabel() {
    // 250 x 150 at (600, 50); the count's large digits stand at x 680..779, y 25..125, their
    // figures about x 691..767 and y 55..111 on the screen: x 91..167, y 5..61 here.
    Canvas c(250, 150);
    Panel(c, 24, 0, 234, 112, 16, true);
    Slot(c, 78, 2, 180, 68, 10);
    TextStyle s = Heading(17);
    DrawTextCentered(c, "SWAPS LEFT", 129, 90, Align::Center, s);
    Save("./bmp/回数.bmp", c, kInk);
}

void ChainLabel() {
    // 250 x 150 at (600, 350), under the verdict banner, built like the count label: the large
    // digit of the demanded chain stands at (700, 325), its figure in the middle of the slot:
    // about x 111..147, y 5..61 here.
    Canvas c(250, 150);
    Panel(c, 24, 0, 234, 112, 16, true);
    Slot(c, 78, 2, 180, 68, 10);
    DrawTextCentered(c, "CHAIN TO MAKE", 129, 90, Align::Center, Heading(17));
    Save("./bmp/連鎖.bmp", c, kInk);
}

void Verdict() {
    // 512 x 512 at (175, 125): top half when cleared, bottom half when failed.
    Canvas c(512, 512);
    Banner(c, 0, 256, "CLEARED!", Hex(0x1F7A46), "Z  back to the level list", 76);
    Banner(c, 257, 255, "FAILED", Hex(0x8C1F2A), "Z  choose what to do", 76);
    Save("./bmp/正解、不正解.bmp", c, kInk);
}

void ChallengeMenus() {
    MenuScreen("./bmp/ポーズ2.bmp", "PAUSED", 74,
               {{"RESUME", Markers(-5.2f, 5.5f, 3.25f, -8)},
                {"RETRY", Markers(-4.5f, 4.8f, 0.5f, -8)},
                {"LEVEL SELECT", Markers(-4.5f, 4.8f, -2.3f, -8)},
                {"LEAVE", Markers(-5.2f, 5.5f, -5.1f, -8)}},
               -8, {23, 11.55f, 0, 0, 0.05f, 0});
    MenuScreen("./bmp/ゲーム終了画面2.bmp", "", 0,
               {{"RETRY", Markers(-5.2f, 5.5f, 4.5f, -10)},
                {"LEVEL SELECT", Markers(-5.2f, 5.5f, 0.5f, -10)},
                {"LEAVE", Markers(-5.9f, 6.2f, -3.2f, -10)}},
               -10, {23, 12, 0});
}

} // namespace

void MakeChallengePictures() {
    LevelSelect();
    Frame();
    Explanation();
    CountLabel();
    ChainLabel();
    Verdict();
    ChallengeMenus();
}

} // namespace pics
