// Where things stand in the generated pictures: menu items between the marker blocks the game
// spins beside them, dark fields where the game draws digits and glyphs, light cursor frames.
#include <gtest/gtest.h>

#include "generated_data.h"

namespace assets {
namespace {

// The standard camera: eye (0, 0, -20), vertical field of view 60 degrees, 880 x 480.
struct ScreenPoint {
    float x, y;
};
ScreenPoint Project(float x, float y, float z) {
    return {440 + 440 * x / (1.05848f * (z + 20)), 240 - 240 * y / (0.57735f * (z + 20))};
}

// A texture on a quad of half-size w x h at depth z, centred at (cx, cy).
struct QuadMap {
    float w, h, z, cx = 0, cy = 0;
    int texW, texH;
    // The texel under a screen point.
    ScreenPoint Texel(ScreenPoint s) const {
        float x = (s.x - 440) * 1.05848f * (z + 20) / 440,
              y = (240 - s.y) * 0.57735f * (z + 20) / 240;
        return {(x - cx + w) / (2 * w) * texW, (h - (y - cy)) / (2 * h) * texH};
    }
};

class Layout : public GeneratedData {
  protected:
    static int Luma(const platform::Texture& t, int x, int y) {
        uint32_t c = t.pixels[static_cast<size_t>(y) * t.width + x];
        if ((c >> 24) == 0) return -1; // transparent
        return int((c >> 16 & 255) * 3 + (c >> 8 & 255) * 6 + (c & 255)) / 10;
    }
    // Texels in a rectangle that pass `test(r, g, b)`.
    template <class F>
    static int Count(const platform::Texture& t, float l, float top, float r, float b, F test) {
        int n = 0;
        for (int y = std::max(0, int(top)); y < std::min(t.height, int(b)); ++y)
            for (int x = std::max(0, int(l)); x < std::min(t.width, int(r)); ++x) {
                uint32_t c = t.pixels[static_cast<size_t>(y) * t.width + x];
                n += (c >> 24) != 0 && test(int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255));
            }
        return n;
    }
    // Texels of lettering (light ink) in a rectangle.
    static int Ink(const platform::Texture& t, float l, float top, float r, float b) {
        return Count(t, l, top, r, b,
                     [](int r, int g, int bl) { return (r * 3 + g * 6 + bl) / 10 > 170; });
    }
    // Texels of cream lettering, not gold, in a rectangle.
    static int Cream(const platform::Texture& t, float l, float top, float r, float b) {
        return Count(t, l, top, r, b, [](int r, int g, int bl) {
            return (r * 3 + g * 6 + bl) / 10 > 170 && bl > 150;
        });
    }
    // Texels of gold (plate rims) in a rectangle.
    static int Gold(const platform::Texture& t, float l, float top, float r, float b) {
        return Count(t, l, top, r, b, [](int r, int, int bl) { return r > 150 && bl < 110; });
    }
    // Largest luma in a rectangle (-1 when all transparent).
    static int Brightest(const platform::Texture& t, int l, int top, int r, int b) {
        int m = -1;
        for (int y = top; y < b; ++y)
            for (int x = l; x < r; ++x) m = std::max(m, Luma(t, x, y));
        return m;
    }
    // The mean luma of the opaque texels.
    static long MeanLuma(const platform::Texture& t) {
        long sum = 0, n = 0;
        for (int y = 0; y < t.height; ++y)
            for (int x = 0; x < t.width; ++x)
                if (int l = Luma(t, x, y); l >= 0) sum += l, ++n;
        return n ? sum / n : -1;
    }
    // Each item: lettering between its two markers, none where the markers spin, and a plate
    // whose gold rim reaches each marker (the item stands where its markers do).
    void ExpectItemsBetweenMarkers(const char* path, const QuadMap& q, float markerZ,
                                   std::initializer_list<std::array<float, 3>> items) {
        auto tex = Load(path);
        ASSERT_TRUE(tex);
        float block = 0.45f * 440 / (1.05848f * (markerZ + 20)); // half a block on the screen
        for (const auto& [lx, rx, y] : items) {
            ScreenPoint l = Project(lx, y, markerZ), r = Project(rx, y, markerZ);
            ScreenPoint tl = q.Texel({l.x + block, l.y - block}),
                        br = q.Texel({r.x - block, r.y + block});
            EXPECT_GT(Ink(*tex, tl.x, tl.y, br.x, br.y), 60) << path << ": no item at y " << y;
            for (ScreenPoint m : {l, r}) {
                ScreenPoint a = q.Texel({m.x - block, m.y - block}),
                            b = q.Texel({m.x + block, m.y + block});
                EXPECT_LT(Cream(*tex, a.x, a.y, b.x, b.y), 15)
                    << path << ": lettering under the marker at (" << m.x << ", " << m.y << ")";
                EXPECT_GT(Gold(*tex, a.x, a.y, b.x, b.y), 10)
                    << path << ": no plate reaches the marker at (" << m.x << ", " << m.y << ")";
            }
        }
    }
};

TEST_F(Layout, MenuItemsStandBetweenTheirMarkers) {
    ExpectItemsBetweenMarkers("./bmp/セレクト.bmp", {20, 10, 0, 0, 0, 1012, 1012}, 0,
                              {{-10.5f, 10.5f, 8.3f},
                               {-4.0f, 4.5f, 4.8f},
                               {-16.5f, 16.5f, 1.55f},
                               {-8.0f, 10.5f, -1.7f},
                               {-6.0f, 6.5f, -4.45f},
                               {-6.0f, 6.5f, -7.45f}});
    ExpectItemsBetweenMarkers("./bmp/ポーズ.bmp", {23, 12, 0, 0, 0, 880, 480}, -8,
                              {{-5.7f, 5.5f, 1.7f}, {-4.7f, 4.5f, -1.3f}, {-5.7f, 5.5f, -4.65f}});
    ExpectItemsBetweenMarkers("./bmp/ゲーム終了画面.bmp", {23, 12, 0, 0, 0, 880, 480}, -12,
                              {{-7.0f, 6.0f, 3.0f}, {-7.2f, 6.7f, -1.7f}});
    ExpectItemsBetweenMarkers(
        "./bmp/ポーズ2.bmp", {23, 11.55f, 0, 0, 0.05f, 880, 480}, -8,
        {{-5.2f, 5.5f, 3.25f}, {-4.5f, 4.8f, 0.5f}, {-4.5f, 4.8f, -2.3f}, {-5.2f, 5.5f, -5.1f}});
    ExpectItemsBetweenMarkers("./bmp/ゲーム終了画面2.bmp", {23, 12, 0, 0, 0, 880, 480}, -10,
                              {{-5.2f, 5.5f, 4.5f}, {-5.2f, 5.5f, 0.5f}, {-5.9f, 6.2f, -3.2f}});
}

TEST_F(Layout, OptionRowsAreLabelledBesideTheirCursorAndLeaveTheGlyphsDark) {
    auto tex = Load("./bmp/オプション.bmp");
    QuadMap q{32, 18, 10, 0, 0, 880, 480};
    const float cursors[3][2] = {{-11, 0.5f}, {-12, -3}, {-12, -7}};
    for (const auto& c : cursors) {
        ScreenPoint p = Project(c[0], c[1], -5);
        ScreenPoint a = q.Texel({p.x + 20, p.y - 20}), b = q.Texel({p.x + 200, p.y + 10});
        EXPECT_GT(Ink(*tex, a.x, a.y, b.x, b.y), 100) << "row label beside the cursor at y " << p.y;
    }
    // Where the level glyphs and side marks are drawn (sprites at x 500..764) nothing is
    // written, so the glyphs read on their own.
    for (float y : {187.0f, 290.0f}) {
        ScreenPoint a = q.Texel({500, y}), b = q.Texel({764, y + 64});
        EXPECT_LT(Ink(*tex, a.x, a.y, b.x, b.y), 20) << "glyph row at y " << y;
    }
}

TEST_F(Layout, LevelGlyphsReadAsARisingMeter) {
    auto tex = Load("./bmp/オプションの文字.bmp");
    const int lefts[4] = {0, 65, 129, 193};
    int previous = -1;
    for (int level = 0; level < 4; ++level) {
        // Lit bars, above the volume written under them.
        int lit = Ink(*tex, lefts[level], 0, lefts[level] + 63, 48);
        EXPECT_GT(lit, previous + 20) << "level " << level;
        previous = lit;
    }
}

TEST_F(Layout, DigitsAreDrawnOnDarkFields) {
    // The score panel's fields: ones digit at screen x 800..825, rows as the game draws them.
    auto panel = Load("./bmp/スコア表示.bmp");
    for (int y : {45, 100, 155, 205, 260, 315, 370, 405}) {
        int b = Brightest(*panel, 800 - 620 - 60, y - 10 + 4, 825 - 620, y - 10 + 28);
        EXPECT_TRUE(b >= 0 && b < 90) << "row " << y << ": " << b << " (-1: transparent)";
    }
    // The results screen: score and time (ones at x 350), chain and level (ones at 800).
    auto results = Load("./bmp/結果.bmp");
    for (auto [x, y] : {std::pair{350, 200}, {800, 200}, {350, 370}, {800, 370}})
        EXPECT_LT(Brightest(*results, x - 76, y + 30, x + 59, y + 86), 90) << x << ", " << y;
    // The explanation screen's swap count (1.5 x 1.6 digits at 410 and 350, y 15) and the
    // demanded chain beside it (one such digit at 680).
    auto explanation = Load("./bmp/説明.bmp");
    EXPECT_LT(Brightest(*explanation, 368, 40, 482, 150), 90);
    EXPECT_LT(Brightest(*explanation, 695, 40, 755, 150), 90);
    // The count label under the challenge's count (digits at screen 680..779, 25..125), and
    // the chain label under it (one digit at 700, 147).
    EXPECT_LT(Brightest(*Load("./bmp/回数.bmp"), 92, 8, 166, 62), 90);
    EXPECT_LT(Brightest(*Load("./bmp/連鎖.bmp"), 108, 8, 150, 62), 90);
}

TEST_F(Layout, LargeFiguresKeepToTheRowsTheScreensLeaveForThem) {
    // The challenge draws its count at y 25 over a label that starts at y 50 and ends at 162:
    // a large figure keeps to rows 26..88, and stands tall (rows 40 and 70 inked).
    auto digits = Load("./bmp/数字2.bmp");
    for (int y = 0; y < 100; ++y) {
        bool ink = Brightest(*digits, 0, y, 600, y + 1) >= 0; // any opaque texel in the row
        EXPECT_TRUE(y < 26 || y > 88 ? !ink : ink || (y != 40 && y != 70)) << "row " << y;
    }
}

TEST_F(Layout, LevelTilesStandWhereTheFrameGoes) {
    auto screen = Load("./bmp/レベル選択.bmp");
    auto frame = Load("./bmp/枠.bmp");
    for (int n = 1; n <= 15; ++n) {
        int x = 6 + 176 * ((n - 1) % 5), y = 119 + 120 * ((n - 1) / 5);
        // The level's number in gold at the tile's left, its blocks at the right; the swaps
        // and chain lines stay in the column between the tile's rim and the preview.
        EXPECT_GT(Ink(*screen, x + 10, y + 15, x + 70, y + 55), 80) << "level " << n;
        EXPECT_GT(Ink(*screen, x + 75, y + 15, x + 160, y + 100), 10) << "level " << n;
        EXPECT_EQ(Ink(*screen, x + 7, y + 62, x + 12, y + 100), 0) << "level " << n;
        EXPECT_EQ(Ink(*screen, x + 68, y + 62, x + 72, y + 100), 0) << "level " << n;
    }
    // The frame rings the tile and leaves its middle clear.
    EXPECT_EQ(Brightest(*frame, 20, 20, 150, 95), -1);
    EXPECT_GT(Ink(*frame, 0, 0, 172, 12), 100);
}

TEST_F(Layout, EndlessBannersKeepClearOfTheScorePanel) {
    // Drawn at screen x 200; the panel starts at x 620: texel column 420.
    for (const char* path : {"./bmp/初め.bmp", "./bmp/ゲームオーバー.bmp"}) {
        auto t = Load(path);
        ASSERT_TRUE(t);
        EXPECT_EQ(Count(*t, 420, 0, 512, 512, [](int, int, int) { return true; }), 0) << path;
        EXPECT_GT(Count(*t, 0, 0, 420, 128, [](int, int, int) { return true; }), 10000) << path;
    }
}

TEST_F(Layout, BannerLetteringKeepsClearOfTheRibbonsNotches) {
    // Ribbons 72 % of their band high, notched 35 % of that deep at both ends: around the
    // band's middle the notches leave the ends of the ribbon empty.
    struct Band {
        const char* path;
        float top, height, x0, x1;
    };
    for (const Band& b :
         {Band{"./bmp/正解、不正解.bmp", 0, 256, 14, 498},
          Band{"./bmp/正解、不正解.bmp", 257, 255, 14, 498},
          Band{"./bmp/初め.bmp", 0, 256, 14, 406}, Band{"./bmp/初め.bmp", 257, 255, 14, 406},
          Band{"./bmp/ゲームオーバー.bmp", 0, 128, 14, 406}}) {
        auto t = Load(b.path);
        ASSERT_TRUE(t);
        float cy = b.top + b.height / 2, notch = b.height * 0.72f * 0.35f, dy = notch * 0.3f;
        auto any = [](int, int, int) { return true; };
        EXPECT_EQ(Count(*t, 0, cy - dy, b.x0 + notch * 0.6f, cy + dy, any), 0)
            << b.path << " at " << b.top << ": something in the left notch";
        EXPECT_EQ(Count(*t, b.x1 - notch * 0.6f, cy - dy, b.x1 + 8, cy + dy, any), 0)
            << b.path << " at " << b.top << ": something in the right notch";
        EXPECT_GT(Ink(*t, b.x0 + notch, b.top, b.x1 - notch, b.top + b.height), 500)
            << b.path << " at " << b.top << ": no lettering";
    }
}

TEST_F(Layout, EndMenusCarryAHeadingAndTheirKeys) {
    for (const char* path : {"./bmp/ゲーム終了画面.bmp", "./bmp/ゲーム終了画面2.bmp"}) {
        auto t = Load(path);
        ASSERT_TRUE(t);
        EXPECT_GT(Ink(*t, 300, 2, 580, 48), 80) << path << ": no heading above the first item";
        EXPECT_GT(Ink(*t, 300, 448, 580, 476), 40) << path << ": no keys at the bottom";
    }
}

TEST_F(Layout, TheVersusDividerCarriesBothPlayersKeys) {
    auto t = Load("./bmp/真ん中の枠.bmp");
    ASSERT_TRUE(t);
    // Rows with light ink between the gold rims: a line of lettering runs down each half (the old
    // gems filled 42).
    int rows[2] = {0, 0};
    for (int y = 0; y < 480; ++y) rows[y / 240] += Ink(*t, 4, y, 12, y + 1) > 0;
    EXPECT_GT(rows[0], 90) << "the left player's keys";
    EXPECT_GT(rows[1], 90) << "the right player's keys";
}

TEST_F(Layout, CursorFramesAreBoldAndMoveAndTheWallSuitsItsLighting) {
    // The game tints the cursor from white to red: a light band between dark edges stands out
    // on every block and on the backdrop at both ends. Each frame differs visibly from the
    // next (more than a screen pixel's worth of texels along the frame).
    std::vector<uint32_t> previous;
    for (const char* path :
         {"./bmp/カーソル.bmp", "./bmp/カーソル２.bmp", "./bmp/カーソル３.bmp",
          "./bmp/カーソル４.bmp", "./bmp/カーソル５.bmp", "./bmp/カーソル.bmp"}) {
        auto t = Load(path);
        ASSERT_TRUE(t);
        int light = Count(*t, 0, 0, 512, 256, [](int r, int g, int b) { return r + g + b > 690; });
        int dark = Count(*t, 0, 0, 512, 256, [](int r, int g, int b) { return r + g + b < 120; });
        EXPECT_GT(light, 512 * 256 / 8) << path << ": the band is thin";
        EXPECT_GT(dark, 512 * 256 / 12) << path << ": no dark edge";
        if (!previous.empty()) {
            int changed = 0;
            for (size_t i = 0; i < previous.size(); ++i) changed += previous[i] != t->pixels[i];
            EXPECT_GT(changed, 4000) << path << " hardly moves";
        }
        previous = t->pixels;
    }
    // The wall is lit at up to 1.6 times its colour: it is dark enough not to glare.
    EXPECT_LT(MeanLuma(*Load("./bmp/壁.bmp")), 80);
}

} // namespace
} // namespace assets
