// FreeType text: glyph coverage masks, outlines and shadows.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace art {

namespace {

FT_Library library = nullptr;
FT_Face faces[3] = {};

const char* const kFontFiles[3] = {"DejaVuSans-Bold.ttf", "DejaVuSansCondensed-Bold.ttf",
                                   "DejaVuSans.ttf"};
const char* const kFontDirs[] = {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu",
                                 "/usr/share/fonts/TTF", "/usr/local/share/fonts"};

char32_t NextCodePoint(const std::string& s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

FT_Face Select(const TextStyle& style) {
    FT_Face face = faces[static_cast<int>(style.face)];
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(style.size * 64)), 72, 72);
    FT_Matrix m{static_cast<FT_Fixed>(std::lround(style.stretchX * 65536)), 0, 0,
                static_cast<FT_Fixed>(std::lround(style.stretchY * 65536))};
    FT_Set_Transform(face, &m, nullptr);
    return face;
}

} // namespace

void InitFonts() {
    if (library) return;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "assetgen: FreeType cannot start\n");
        std::exit(1);
    }
    for (int i = 0; i < 3; ++i) {
        for (const char* dir : kFontDirs) {
            std::filesystem::path path = std::filesystem::path(dir) / kFontFiles[i];
            if (std::filesystem::exists(path) &&
                FT_New_Face(library, path.c_str(), 0, &faces[i]) == 0)
                break;
        }
        if (!faces[i]) {
            std::fprintf(stderr, "assetgen: font %s not found (install fonts-dejavu-core)\n",
                         kFontFiles[i]);
            std::exit(1);
        }
    }
}

TextMask SetText(const std::string& utf8, const TextStyle& style) {
    InitFonts();
    FT_Face face = Select(style);
    struct Placed {
        Mask glyph;
        int x, top;
    };
    std::vector<Placed> glyphs;
    float pen = 0;
    FT_UInt previous = 0;
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = NextCodePoint(utf8, i);
        FT_UInt index = FT_Get_Char_Index(face, cp);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &k);
            pen += k.x / 64.0f;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        Placed p{Mask(static_cast<int>(bm.width), static_cast<int>(bm.rows)),
                 static_cast<int>(std::lround(pen)) + slot->bitmap_left, -slot->bitmap_top};
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned c = 0; c < bm.width; ++c)
                p.glyph.v[r * bm.width + c] = bm.buffer[r * bm.pitch + c] / 255.0f;
        if (bm.width > 0 && bm.rows > 0) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x + static_cast<int>(bm.width));
            minY = std::min(minY, p.top);
            maxY = std::max(maxY, p.top + static_cast<int>(bm.rows));
        }
        glyphs.push_back(std::move(p));
        pen += slot->advance.x / 64.0f + style.tracking;
        previous = index;
    }
    if (!glyphs.empty()) pen -= style.tracking;
    TextMask out;
    out.mask = Mask(maxX - minX + 1, maxY - minY + 1);
    out.originX = -minX;
    out.baselineY = -minY;
    out.advance = pen;
    out.ascent = CapHeight(style);
    for (const Placed& p : glyphs)
        for (int r = 0; r < p.glyph.height; ++r)
            for (int c = 0; c < p.glyph.width; ++c) {
                float& dst = out.mask.v[(p.top - minY + r) * out.mask.width + (p.x - minX + c)];
                dst = std::min(1.0f, dst + p.glyph.v[r * p.glyph.width + c]);
            }
    return out;
}

float TextWidth(const std::string& utf8, const TextStyle& style) {
    return SetText(utf8, style).advance;
}

float CapHeight(const TextStyle& style) {
    InitFonts();
    FT_Face face = Select(style);
    if (FT_Load_Char(face, 'H', FT_LOAD_NO_HINTING) != 0) return style.size * 0.73f;
    return face->glyph->metrics.horiBearingY / 64.0f * style.stretchY; // metrics are untransformed
}

void DrawText(Canvas& canvas, const std::string& utf8, float x, float y, Align align,
              const TextStyle& style) {
    TextMask t = SetText(utf8, style);
    float left = align == Align::Left     ? x
                 : align == Align::Center ? x - t.advance / 2
                                          : x - t.advance;
    int mx = static_cast<int>(std::lround(left)) - t.originX;
    int my = static_cast<int>(std::lround(y)) - t.baselineY;
    if (style.shadow > 0) {
        int blur = std::max(1, static_cast<int>(style.shadow / 2));
        Mask base = style.outline > 0 ? t.mask.Dilated(style.outline) : t.mask;
        int grow = style.outline > 0 ? static_cast<int>(std::ceil(style.outline)) : 0;
        Mask soft = base.Blurred(blur);
        int off = static_cast<int>(std::lround(style.shadow));
        canvas.Stamp(soft, mx - grow - blur + off, my - grow - blur + off,
                     Solid(style.shadowColor));
    }
    if (style.outline > 0) {
        int grow = static_cast<int>(std::ceil(style.outline));
        canvas.Stamp(t.mask.Dilated(style.outline), mx - grow, my - grow,
                     Solid(style.outlineColor));
    }
    canvas.Stamp(t.mask, mx, my, style.fill);
}

void DrawTextCentered(Canvas& canvas, const std::string& utf8, float x, float y, Align align,
                      const TextStyle& style) {
    DrawText(canvas, utf8, x, y + CapHeight(style) / 2, align, style);
}

} // namespace art
