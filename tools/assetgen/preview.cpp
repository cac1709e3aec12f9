// Preview images: keyed pictures on a checkerboard, a contact sheet, mock screens and models.
#include "preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "media/manifest.h"
#include "models.h"
#include "output.h"
#include "pictures.h"
#include "text.h"

namespace preview {

namespace {

using pics::Picture;

// A picture as the game's texture shows it: keyed texels as a grey checkerboard.
std::vector<uint32_t> Keyed(const Picture& p) {
    std::vector<uint32_t> out(p.rgb.size());
    bool keyed = (p.colorKey >> 24) == 0xFF;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.rgb[static_cast<size_t>(y) * p.width + x];
            if (keyed && c == (p.colorKey & 0xFFFFFF))
                c = ((x / 8 + y / 8) % 2) ? 0x9A9AA6 : 0x6E6E7A;
            out[static_cast<size_t>(y) * p.width + x] = c;
        }
    return out;
}

std::string FileName(const char* what) {
    std::string s = what;
    for (char& ch : s)
        if (ch == ' ' || ch == '/') ch = '-';
    s.erase(std::remove(s.begin(), s.end(), ','), s.end());
    return s;
}

struct Sheet {
    int width, height;
    std::vector<uint32_t> px;
    Sheet(int w, int h, uint32_t fill) : width(w), height(h), px(size_t(w) * h, fill) {}
    // Draws `src` scaled by `scale` (box filter) with its top left at (x, y).
    void Put(const std::vector<uint32_t>& src, int sw, int sh, int x, int y, float scale) {
        int dw = static_cast<int>(sw * scale), dh = static_cast<int>(sh * scale);
        for (int j = 0; j < dh; ++j)
            for (int i = 0; i < dw; ++i) {
                int x0 = static_cast<int>(i / scale), x1 = std::max(x0 + 1, int((i + 1) / scale));
                int y0 = static_cast<int>(j / scale), y1 = std::max(y0 + 1, int((j + 1) / scale));
                uint32_t r = 0, g = 0, b = 0, n = 0;
                for (int v = y0; v < std::min(y1, sh); ++v)
                    for (int u = x0; u < std::min(x1, sw); ++u) {
                        uint32_t c = src[size_t(v) * sw + u];
                        r += c >> 16 & 255;
                        g += c >> 8 & 255;
                        b += c & 255;
                        ++n;
                    }
                if (n && x + i < width && y + j < height)
                    px[size_t(y + j) * width + x + i] = (r / n) << 16 | (g / n) << 8 | (b / n);
            }
    }
    void Label(const std::string& text, int x, int y) {
        art::TextStyle s;
        s.face = art::Face::Condensed;
        s.size = 14;
        art::TextMask t = art::SetText(text, s);
        for (int j = 0; j < t.mask.height; ++j)
            for (int i = 0; i < t.mask.width; ++i) {
                int px_ = x + i - t.originX, py = y + j - t.baselineY;
                float a = t.mask.v[size_t(j) * t.mask.width + i];
                if (a <= 0 || px_ < 0 || py < 0 || px_ >= width || py >= height) continue;
                uint32_t& d = px[size_t(py) * width + px_];
                auto mix = [&](int shift) {
                    float v = (d >> shift & 255) * (1 - a) + 235 * a;
                    return static_cast<uint32_t>(v) << shift;
                };
                d = mix(16) | mix(8) | mix(0);
            }
    }
};

bool ContactSheet(const std::filesystem::path& path) {
    const auto& all = pics::Saved();
    const int cellW = 300, cellH = 250, cols = 6;
    int rows = static_cast<int>((all.size() + cols - 1) / cols);
    Sheet sheet(cols * cellW, rows * cellH, 0x202028);
    for (size_t i = 0; i < all.size(); ++i) {
        const Picture& p = all[i];
        float scale = std::min({1.0f, (cellW - 16.0f) / p.width, (cellH - 40.0f) / p.height});
        int x = static_cast<int>(i % cols) * cellW + 8, y = static_cast<int>(i / cols) * cellH + 8;
        sheet.Put(Keyed(p), p.width, p.height, x, y, scale);
        const DataFile* f = FindDataFile(p.path.c_str());
        char size[32];
        std::snprintf(size, sizeof size, "  %dx%d", p.width, p.height);
        sheet.Label(std::string(f ? f->what : "?") + size, x, y + cellH - 18);
    }
    return out::WritePng(path, sheet.width, sheet.height, sheet.px);
}

} // namespace

bool Write(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    bool ok = true;
    int n = 0;
    for (const Picture& p : pics::Saved()) {
        const DataFile* f = FindDataFile(p.path.c_str());
        char name[96];
        std::snprintf(name, sizeof name, "%02d-%s.png", ++n, FileName(f ? f->what : "x").c_str());
        ok &= out::WritePng(dir / name, p.width, p.height, Keyed(p));
    }
    ok &= ContactSheet(dir / "contact-sheet.png");
    ok &= WriteScreens(dir);
    ok &= models::WritePreview(dir / "models.png");
    if (!ok)
        std::fprintf(stderr, "assetgen: cannot write the preview into %s\n", dir.c_str());
    else
        std::printf("assetgen: preview written to %s\n", dir.c_str());
    return ok;
}

} // namespace preview
