// Mock screens: the pictures put where the game draws them (quads through the standard camera,
// sprites at their positions, marker blocks as squares), to check placement by eye.
#include <algorithm>
#include <cmath>
#include <string>

#include "media/manifest.h"
#include "output.h"
#include "pictures.h"
#include "preview.h"
#include "theme.h"

namespace preview {

namespace {

using pics::Picture;
using theme::Quad;

const Picture* Find(const std::string& path) {
    for (const Picture& p : pics::Saved())
        if (p.path == path) return &p;
    return nullptr;
}

struct Screen {
    std::vector<uint32_t> px = std::vector<uint32_t>(880 * 480, 0x0000FF); // the clear colour

    void Put(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < 880 && y < 480) px[size_t(y) * 880 + x] = c;
    }
    // The picture as a texture of texW x texH on a quad (nearest texel).
    void QuadOf(const std::string& path, int texW, int texH, const Quad& q) {
        const Picture* p = Find(path);
        if (!p) return;
        float depth = q.z + q.tz + 20;
        float kx = 440 / (1.05848f * depth), ky = 240 / (0.57735f * depth);
        float ax = kx * 2 * q.w / texW, bx = 440 + kx * (q.tx - q.w);
        float ay = ky * 2 * q.h / texH, by = 240 - ky * (q.h + q.ty);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 880; ++x) {
                int u = int(std::floor((x + 0.5f - bx) / ax)),
                    v = int(std::floor((y + 0.5f - by) / ay));
                if (u < 0 || v < 0 || u >= p->width || v >= p->height) continue;
                uint32_t c = p->rgb[size_t(v) * p->width + u];
                if ((p->colorKey >> 24) == 0xFF && c == (p->colorKey & 0xFFFFFF)) continue;
                Put(x, y, c);
            }
    }
    // A sprite: the source rectangle drawn at (x, y), scaled.
    void Sprite(const std::string& path, int l, int t, int r, int b, float x, float y, float sx = 1,
                float sy = 1) {
        const Picture* p = Find(path);
        if (!p) return;
        r = std::min(r, p->width);
        b = std::min(b, p->height);
        for (int j = 0; j < int((b - t) * sy); ++j)
            for (int i = 0; i < int((r - l) * sx); ++i) {
                int u = l + int(i / sx), v = t + int(j / sy);
                uint32_t c = p->rgb[size_t(v) * p->width + u];
                if ((p->colorKey >> 24) == 0xFF && c == (p->colorKey & 0xFFFFFF)) continue;
                Put(int(x) + i, int(y) + j, c);
            }
    }
    // A marker block (0.9 units) at a world point, as a framed square.
    void Marker(float x, float y, float z, uint32_t c = 0x3DC46C) {
        theme::Point p = theme::Project(x, y, z);
        float half = 0.45f * 440 / (1.05848f * (z + 20));
        for (int j = int(p.y - half); j <= int(p.y + half); ++j)
            for (int i = int(p.x - half); i <= int(p.x + half); ++i)
                Put(i, j,
                    (j == int(p.y - half) || j == int(p.y + half) || i == int(p.x - half) ||
                     i == int(p.x + half))
                        ? 0x000000
                        : c);
    }
    // A number from a digit sheet, right-aligned on its ones digit at x.
    void Number(const std::string& sheet, int value, int digits, float x, float y, float step,
                float sx = 1, float sy = 1) {
        bool large = sheet == "./bmp/数字2.bmp";
        for (int i = 0; i < digits; ++i, value /= 10) {
            int d = value % 10;
            const platform::Rect& r =
                (large ? kLargeDigitRects : kSmallDigitRects)[d == 0 ? 9 : d - 1];
            Sprite(sheet, r.left, r.top, r.right, r.bottom, x - step * i, y, sx, sy);
        }
    }
    void Colon(const std::string& sheet, float x, float y) {
        const platform::Rect& r =
            (sheet == "./bmp/数字2.bmp" ? kLargeDigitRects : kSmallDigitRects)[kDigitColon];
        Sprite(sheet, r.left, r.top, r.right, r.bottom, x, y);
    }
};

const Quad kMenuBackground{38, 37, 10, 4.3f, -19.2f, 0};
const Quad kPlayBackground{41.85f, 41.45f, 10, 4.3f + 0.85f, -19.4f - 2.35f, 4};

} // namespace

bool WriteScreens(const std::filesystem::path& dir) {
    std::vector<std::pair<std::string, Screen>> screens;
    {
        Screen s;
        s.QuadOf("./bmp/背景.bmp", 1012, 1012, kMenuBackground);
        s.QuadOf("./bmp/タイトル.bmp", 1012, 256, {10, 2.5f, 0, 0, 5, 0});
        s.QuadOf("./bmp/タイトルの文字.bmp", 512, 128, {8, 3, 0, 1, -7, 0});
        s.Marker(-7, -7.3f, 0, 0xE8473F);
        s.Marker(8.8f, -7.3f, 0, 0xE8473F);
        screens.emplace_back("title", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/背景.bmp", 1012, 1012, kMenuBackground);
        s.QuadOf("./bmp/セレクト.bmp", 1012, 1012, {20, 10, 0});
        const float m[6][3] = {{-10.5f, 10.5f, 8.3f}, {-4, 4.5f, 4.8f},   {-16.5f, 16.5f, 1.55f},
                               {-8, 10.5f, -1.7f},    {-6, 6.5f, -4.45f}, {-6, 6.5f, -7.45f}};
        for (const auto& r : m) {
            s.Marker(r[0], r[2], 0);
            s.Marker(r[1], r[2], 0);
        }
        screens.emplace_back("mode-select", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/オプション.bmp", 880, 480, {32, 18, 10});
        s.Marker(-11, 0.5f, -5, 0xB45CEB);
        s.Marker(-12, -3, -5, 0xB45CEB);
        s.Marker(-12, -7, -5, 0xB45CEB);
        const char* g = "./bmp/オプションの文字.bmp";
        s.Sprite(g, 193, 0, 256, 64, 600, 187);
        s.Sprite(g, 0, 129, 64, 192, 500, 187);
        s.Sprite(g, 65, 129, 128, 192, 700, 187);
        s.Sprite(g, 65, 0, 128, 64, 600, 290);
        screens.emplace_back("options", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/背景.bmp", 1012, 1012, kPlayBackground);
        const char* d = "./bmp/数字.bmp";
        s.Sprite("./bmp/スコア表示.bmp", 0, 0, 260, 460, 620, 10);
        s.Number(d, 12340, 5, 800, 45, 20);
        s.Number(d, 4, 1, 800, 100, 20);
        for (float y : {155.0f, 370.0f}) {
            s.Number(d, 7, 2, 800, y, 20);
            s.Colon(d, 760, y);
            s.Number(d, 12, 2, 750, y, 20);
            s.Colon(d, 710, y);
            s.Number(d, 0, 2, 700, y, 20);
        }
        s.Number(d, 5, 1, 800, 205, 20);
        s.Number(d, 98760, 5, 800, 260, 20);
        s.Number(d, 11, 2, 800, 315, 20);
        s.Number(d, 33, 2, 800, 405, 20);
        s.Sprite("./bmp/初め.bmp", 0, 0, 512, 256, 200, 125);
        screens.emplace_back("endless-play", s);
    }
    {
        Screen s;
        const char* d = "./bmp/数字2.bmp";
        s.Sprite("./bmp/結果.bmp", 0, 0, 880, 480, 0, 0);
        s.Number(d, 123450, 6, 350, 200, 38);
        s.Number(d, 12, 2, 800, 200, 38);
        s.Number(d, 7, 2, 350, 370, 38);
        s.Colon(d, 274, 375);
        s.Number(d, 12, 2, 254, 370, 38);
        s.Colon(d, 173, 375);
        s.Number(d, 1, 2, 153, 370, 38);
        s.Number(d, 42, 2, 800, 370, 38);
        for (auto [x, y] : {std::pair{50, 130}, {500, 130}, {50, 290}, {500, 290}})
            s.Sprite("./bmp/記録更新.bmp", 0, 0, 350, 50, float(x), float(y));
        screens.emplace_back("results", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/ポーズ.bmp", 880, 480, {23, 12, 0});
        for (auto [l, r, y] :
             {std::tuple{-5.7f, 5.5f, 1.7f}, {-4.7f, 4.5f, -1.3f}, {-5.7f, 5.5f, -4.65f}}) {
            s.Marker(l, y, -8, 0xF5B82E);
            s.Marker(r, y, -8, 0xF5B82E);
        }
        screens.emplace_back("pause", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/ゲーム終了画面.bmp", 880, 480, {23, 12, 0});
        for (auto [l, r, y] : {std::tuple{-7.0f, 6.0f, 3.0f}, {-7.2f, 6.7f, -1.7f}}) {
            s.Marker(l, y, -12, 0xF5B82E);
            s.Marker(r, y, -12, 0xF5B82E);
        }
        screens.emplace_back("end", s);
    }
    {
        Screen s;
        s.Sprite("./bmp/レベル選択.bmp", 0, 0, 880, 480, 0, 0);
        s.Sprite("./bmp/枠.bmp", 0, 0, 172, 227, 6 + 176 * 1, 119 + 120 * 1);
        screens.emplace_back("level-select", s);
    }
    {
        Screen s;
        s.Sprite("./bmp/説明.bmp", 0, 0, 880, 480, 0, 0);
        s.Number("./bmp/数字2.bmp", 13, 2, 410, 15, 60, 1.5f, 1.6f);
        s.Number("./bmp/数字2.bmp", 7, 1, 680, 15, 60, 1.5f, 1.6f);
        screens.emplace_back("explanation", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/背景.bmp", 1012, 1012, kPlayBackground);
        s.Sprite("./bmp/回数.bmp", 0, 0, 250, 150, 600, 50);
        s.Number("./bmp/数字2.bmp", 12, 2, 720, 25, 40);
        s.Sprite("./bmp/連鎖.bmp", 0, 0, 250, 150, 600, 350);
        s.Number("./bmp/数字2.bmp", 9, 1, 700, 325, 40);
        s.Sprite("./bmp/正解、不正解.bmp", 0, 0, 512, 256, 175, 125);
        screens.emplace_back("challenge-play", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/ポーズ2.bmp", 880, 480, {23, 11.55f, 0, 0, 0.05f, 0});
        for (auto [l, r, y] : {std::tuple{-5.2f, 5.5f, 3.25f},
                               {-4.5f, 4.8f, 0.5f},
                               {-4.5f, 4.8f, -2.3f},
                               {-5.2f, 5.5f, -5.1f}}) {
            s.Marker(l, y, -8, 0x3D8BF2);
            s.Marker(r, y, -8, 0x3D8BF2);
        }
        screens.emplace_back("challenge-pause", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/ゲーム終了画面2.bmp", 880, 480, {23, 12, 0});
        for (auto [l, r, y] :
             {std::tuple{-5.2f, 5.5f, 4.5f}, {-5.2f, 5.5f, 0.5f}, {-5.9f, 6.2f, -3.2f}}) {
            s.Marker(l, y, -10, 0x3D8BF2);
            s.Marker(r, y, -10, 0x3D8BF2);
        }
        screens.emplace_back("challenge-end", s);
    }
    {
        Screen s;
        s.QuadOf("./bmp/背景.bmp", 1012, 1012, kPlayBackground);
        s.Sprite("./bmp/真ん中の枠.bmp", 0, 0, 16, 480, 432, 0);
        s.Sprite("./bmp/勝敗.bmp", 0, 257, 512, 512, 200, 180);
        screens.emplace_back("versus", s);
    }
    bool ok = true;
    // One sheet, two screens a row, and each screen on its own.
    int rows = int(screens.size() + 1) / 2;
    std::vector<uint32_t> sheet(size_t(1780) * rows * 490, 0x202028);
    for (size_t i = 0; i < screens.size(); ++i) {
        int ox = int(i % 2) * 890 + 5, oy = int(i / 2) * 490 + 5;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 880; ++x)
                sheet[size_t(oy + y) * 1780 + ox + x] = screens[i].second.px[size_t(y) * 880 + x];
        ok &= out::WritePng(dir / ("screen-" + screens[i].first + ".png"), 880, 480,
                            screens[i].second.px);
    }
    ok &= out::WritePng(dir / "screens.png", 1780, rows * 490, sheet);
    return ok;
}

} // namespace preview
