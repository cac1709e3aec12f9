// The generated pictures as the game's texture loader makes them: file format, size, colour
// keys, and content at every source rectangle the game draws from.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "generated_data.h"

namespace assets {
namespace {

struct Texel {
    platform::TexturePtr texture;
    bool Opaque(int x, int y) const {
        return (texture->pixels[static_cast<size_t>(y) * texture->width + x] >> 24) != 0;
    }
    // Share of opaque texels in a rectangle (right and bottom exclusive).
    double Coverage(int l, int t, int r, int b) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += Opaque(x, y);
        return double(n) / ((r - l) * (b - t));
    }
};

class Pictures : public GeneratedData {
  protected:
    Texel Sheet(const char* path) { return {Load(path)}; }
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST_F(Pictures, AreUncompressedBottomUp24BitBitmapsNoLargerThanTheirTexture) {
    for (const DataFile& f : kDataFiles) {
        if (f.kind != DataKind::Texture) continue;
        std::vector<uint8_t> b = Bytes(PathOf(f.path));
        ASSERT_GE(b.size(), 54u) << f.path;
        // "BM", the 40-byte info header, 24 bits, uncompressed.
        EXPECT_EQ(std::tuple(b[0], b[1], Le32(b, 14), b[28] | b[29] << 8, Le32(b, 30)),
                  std::tuple('B', 'M', 40u, 24, 0u))
            << f.path;
        int width = static_cast<int>(Le32(b, 18)), height = static_cast<int>(Le32(b, 22));
        EXPECT_TRUE(height > 0 && width <= f.width && height <= f.height)
            << f.path << ": bottom-up, no larger than the texture";
        size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
        EXPECT_EQ(b.size(), Le32(b, 10) + stride * height) << f.path;
    }
}

TEST_F(Pictures, FullViewPicturesHideNothingBehindThemselves) {
    // Pictures that fill the view show the blue clear colour wherever they are transparent.
    for (const char* path : {"./bmp/オプション.bmp", "./bmp/結果.bmp", "./bmp/ポーズ.bmp",
                             "./bmp/ゲーム終了画面.bmp", "./bmp/レベル選択.bmp", "./bmp/説明.bmp",
                             "./bmp/ポーズ2.bmp", "./bmp/ゲーム終了画面2.bmp"})
        EXPECT_EQ(Sheet(path).Coverage(0, 0, 880, 480), 1.0) << path;
    // The background: everything the menus and the play modes see of it (texels 26..872 x
    // 6..480 and 60..828 x 29..452) is opaque, cyan nowhere.
    EXPECT_EQ(Sheet("./bmp/背景.bmp").Coverage(20, 0, 880, 490), 1.0);
    // The wall's key matches no texel: all of it shows.
    EXPECT_EQ(Sheet("./bmp/壁.bmp").Coverage(0, 0, 512, 512), 1.0);
}

TEST_F(Pictures, KeyedSheetsAreTransparentAroundTheirContent) {
    // Banners, labels and the cursor show the scene around them.
    Texel cursor = Sheet("./bmp/カーソル.bmp");
    EXPECT_FALSE(cursor.Opaque(100, 128)) << "over the cursor's cell";
    EXPECT_FALSE(cursor.Opaque(270, 128)) << "over its partner";
    EXPECT_FALSE(cursor.Opaque(500, 128)) << "right of the pair";
    EXPECT_GT(cursor.Coverage(0, 0, 512, 256), 0.05);
    Texel panel = Sheet("./bmp/スコア表示.bmp");
    EXPECT_FALSE(panel.Opaque(0, 0)) << "the panel's rounded corner";
    EXPECT_FALSE(panel.Opaque(259, 459));
    Texel logo = Sheet("./bmp/タイトル.bmp");
    EXPECT_FALSE(logo.Opaque(0, 0));
    EXPECT_FALSE(logo.Opaque(1011, 255));
}

TEST_F(Pictures, EverySourceRectangleTheGameDrawsHasContent) {
    struct Rect {
        const char* path;
        int l, t, r, b;
        double atLeast; // share of opaque texels
    };
    const Rect rects[] = {
        {"./bmp/オプションの文字.bmp", 0, 0, 64, 64, 0.1},      // level 0
        {"./bmp/オプションの文字.bmp", 65, 0, 128, 64, 0.1},    // level 1
        {"./bmp/オプションの文字.bmp", 129, 0, 192, 64, 0.1},   // level 2
        {"./bmp/オプションの文字.bmp", 193, 0, 256, 64, 0.1},   // level 3
        {"./bmp/オプションの文字.bmp", 0, 129, 64, 192, 0.1},   // left mark
        {"./bmp/オプションの文字.bmp", 65, 129, 128, 192, 0.1}, // right mark
        {"./bmp/スコア表示.bmp", 0, 0, 260, 460, 0.9},
        {"./bmp/初め.bmp", 0, 0, 512, 256, 0.3},   // start, first half
        {"./bmp/初め.bmp", 0, 257, 512, 512, 0.3}, // second half
        {"./bmp/ゲームオーバー.bmp", 0, 0, 512, 128, 0.3},
        {"./bmp/記録更新.bmp", 0, 0, 350, 50, 0.4},
        {"./bmp/枠.bmp", 0, 0, 172, 116, 0.1},
        {"./bmp/正解、不正解.bmp", 0, 0, 512, 256, 0.3},   // cleared
        {"./bmp/正解、不正解.bmp", 0, 257, 512, 512, 0.3}, // failed
        {"./bmp/回数.bmp", 0, 0, 250, 150, 0.4},
        {"./bmp/連鎖.bmp", 0, 0, 250, 150, 0.4},
        {"./bmp/真ん中の枠.bmp", 0, 0, 16, 480, 0.7},
        {"./bmp/勝敗.bmp", 0, 0, 512, 256, 0.3},   // left side lost
        {"./bmp/勝敗.bmp", 0, 257, 512, 512, 0.3}, // right side lost
    };
    for (const Rect& r : rects)
        EXPECT_GE(Sheet(r.path).Coverage(r.l, r.t, r.r, r.b), r.atLeast)
            << r.path << " (" << r.l << ", " << r.t << ", " << r.r << ", " << r.b << ")";
    // The middle band of the glyph sheet that no rectangle reaches stays clear.
    EXPECT_EQ(Sheet("./bmp/オプションの文字.bmp").Coverage(0, 64, 880, 129), 0.0);
    // The five cursor pictures are frames of one animation: alike (how much each one moves is
    // the layout test's).
    const char* frames[5] = {"./bmp/カーソル.bmp", "./bmp/カーソル２.bmp", "./bmp/カーソル３.bmp",
                             "./bmp/カーソル４.bmp", "./bmp/カーソル５.bmp"};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(Sheet(frames[i]).Coverage(0, 0, 512, 256),
                    Sheet(frames[(i + 1) % 5]).Coverage(0, 0, 512, 256), 0.05)
            << frames[i];
}

// Digit cells of `width` texels side by side, the first from 0, the others from one past the
// end of the one before: the figures 1..9, 0 and the colon.
void CheckDigitSheet(const Texel& sheet, int width, int height, int step, const char* name) {
    for (int i = 0; i < 11; ++i) {
        // Ink in the cell, and no wider than the step between two drawn digits, so that the
        // overlapping cells of a number never make figures touch; the column after it clear.
        const int left = i ? width * i + 1 : 0, right = width * (i + 1);
        int first = right, last = left - 1;
        for (int x = left; x < right; ++x)
            for (int y = 0; y < height; ++y)
                if (sheet.Opaque(x, y)) first = std::min(first, x), last = std::max(last, x);
        ASSERT_LE(first, last) << name << " cell " << i << " is empty";
        EXPECT_LT(last - first + 1, step) << name << " cell " << i;
        EXPECT_TRUE(i == 10 || sheet.Coverage(right, 0, right + 1, height) == 0.0) << name << i;
    }
}

TEST_F(Pictures, DigitSheetsHoldEveryFigureInItsCellWithClearGaps) {
    CheckDigitSheet(Sheet("./bmp/数字.bmp"), 25, 32, 20, "small digits");
    CheckDigitSheet(Sheet("./bmp/数字2.bmp"), 60, 100, 38, "large digits");
}

} // namespace
} // namespace assets
