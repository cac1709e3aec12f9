// The shared look of every picture.
#include "theme.h"

#include <algorithm>
#include <cmath>

namespace theme {

using namespace art;

TextStyle Display(float size) {
    TextStyle s;
    s.face = Face::Bold;
    s.size = size;
    s.outline = std::max(2.0f, size / 14);
    s.outlineColor = kInk;
    s.shadow = std::max(2.0f, size / 12);
    s.shadowColor = Hex(0x000000, 0.55f);
    return s;
}

TextStyle Heading(float size) {
    TextStyle s;
    s.face = Face::Bold;
    s.size = size;
    s.fill = Solid(kCream);
    s.outline = std::max(1.5f, size / 16);
    s.outlineColor = kInk;
    s.shadow = std::max(1.5f, size / 14);
    return s;
}

TextStyle Body(float size, Color c) {
    TextStyle s;
    s.face = Face::Condensed;
    s.size = size;
    s.fill = Solid(c);
    return s;
}

Paint GoldFill(float top, float bottom) {
    return [=](float, float y) {
        float t = std::clamp((y - top) / (bottom - top), 0.0f, 1.0f);
        return t < 0.5f ? Mix(kGoldLight, kGold, t * 2) : Mix(kGold, kGoldDeep, (t - 0.5f) * 2);
    };
}

Point Project(float x, float y, float z) {
    return {440 + 440 * x / (1.05848f * (z + 20)), 240 - 240 * y / (0.57735f * (z + 20))};
}

Canvas TextureForQuad(const Canvas& screen, const Quad& q, int texW, int texH) {
    float depth = q.z + q.tz + 20;
    float kx = 440 / (1.05848f * depth), ky = 240 / (0.57735f * depth);
    float ax = kx * 2 * q.w / texW, bx = 440 + kx * (q.tx - q.w);
    float ay = ky * 2 * q.h / texH, by = 240 - ky * (q.h + q.ty);
    return Resample(screen, texW, texH, ax, bx, ay, by);
}

void Title(Canvas& c, const std::string& text, float x, float y, float size) {
    TextStyle s = Display(size);
    s.fill = GoldFill(y - CapHeight(s), y);
    DrawText(c, text, x, y, Align::Center, s);
}

void Backdrop(Canvas& c) {
    float h = static_cast<float>(c.height), w = static_cast<float>(c.width);
    c.Fill([&](float x, float y) {
        Color base = Mix(kBgTop, kBgBottom, std::clamp(y / h, 0.0f, 1.0f));
        // A soft light from the upper middle.
        float d = std::hypot((x - w / 2) / w, (y - h * 0.2f) / h);
        float glow = std::max(0.0f, 0.35f - d) * 0.35f;
        base = Mix(base, Hex(0x3B4FA0), glow);
        // Mosaic: staggered tesserae, their joints a little darker.
        float cell = 24;
        float row = std::floor(y / cell);
        float fx = std::fmod(x + (std::fmod(row, 2.0f) == 0 ? 0 : cell / 2), cell);
        float fy = std::fmod(y, cell);
        float edge = std::min(std::min(fx, cell - fx), std::min(fy, cell - fy));
        if (edge < 1.2f) base = Mix(base, kInk, 0.35f);
        return base;
    });
}

void Panel(Canvas& c, float x0, float y0, float x1, float y1, float r, bool goldEdge) {
    Box b{static_cast<int>(x0) - 8, static_cast<int>(y0) - 8, static_cast<int>(x1) + 10,
          static_cast<int>(y1) + 10};
    c.Shape(RoundRect(x0 + 4, y0 + 6, x1 + 4, y1 + 6, r), Hex(0x000000, 0.45f), b);
    c.Shape(RoundRect(x0, y0, x1, y1, r), VerticalGradient(y0, kPanel, y1, kPanelDeep), b);
    c.Shape(Outline(RoundRect(x0 + 1.5f, y0 + 1.5f, x1 - 1.5f, y1 - 1.5f, r - 1.5f), 2.5f),
            goldEdge ? kGold : kPanelEdge, b);
    c.Shape(Outline(RoundRect(x0 + 5, y0 + 5, x1 - 5, y1 - 5, std::max(r - 5, 1.0f)), 1),
            Hex(0xFFFFFF, 0.06f), b);
}

void Slot(Canvas& c, float x0, float y0, float x1, float y1, float r) {
    Box b{static_cast<int>(x0) - 2, static_cast<int>(y0) - 2, static_cast<int>(x1) + 3,
          static_cast<int>(y1) + 3};
    c.Shape(RoundRect(x0, y0, x1, y1, r), kSlot, b);
    c.Shape(Outline(RoundRect(x0 + 0.5f, y0 + 0.5f, x1 - 0.5f, y1 - 0.5f, r), 1), Hex(0x2A3468), b);
}

void Emblem(Canvas& c, int kind, float cx, float cy, float size, float alpha) {
    float r = size / 2;
    Color body = WithAlpha(kKind[kind], alpha);
    Color light = WithAlpha(Mix(kKind[kind], Hex(0xFFFFFF), 0.55f), alpha);
    Color ink = WithAlpha(kInk, alpha);
    Sdf shape;
    switch (kind) {
    case 1:
        shape = Circle(cx, cy, r * 0.92f);
        break;
    case 2:
        shape = Polygon({cx, cy - r, cx + r, cy + r * 0.8f, cx - r, cy + r * 0.8f});
        break;
    case 3:
        shape =
            RoundRect(cx - r * 0.82f, cy - r * 0.82f, cx + r * 0.82f, cy + r * 0.82f, r * 0.15f);
        break;
    case 4:
        shape = Polygon({cx, cy - r, cx + r * 0.8f, cy, cx, cy + r, cx - r * 0.8f, cy});
        break;
    default: {
        float t = r * 0.36f;
        shape = Polygon({cx - t, cy - r, cx + t, cy - r, cx + t, cy - t, cx + r, cy - t,
                         cx + r, cy + t, cx + t, cy + t, cx + t, cy + r, cx - t, cy + r,
                         cx - t, cy + t, cx - r, cy + t, cx - r, cy - t, cx - t, cy - t});
    }
    }
    int pad = static_cast<int>(r) + 4;
    Box b{static_cast<int>(cx) - pad, static_cast<int>(cy) - pad, static_cast<int>(cx) + pad + 1,
          static_cast<int>(cy) + pad + 1};
    float edge = std::max(1.2f, size / 16);
    c.Shape(Inset(shape, -edge), ink, b);
    c.Shape(
        shape,
        [=](float, float y) {
            float t = std::clamp((y - (cy - r)) / (2 * r), 0.0f, 1.0f);
            return Mix(light, body, std::min(1.0f, t * 1.6f));
        },
        b);
    // A small glint at the upper left.
    c.Shape(Circle(cx - r * 0.3f, cy - r * 0.3f, r * 0.14f), WithAlpha(Hex(0xFFFFFF), 0.7f * alpha),
            b);
}

float KeyCap(Canvas& c, const std::string& label, float x, float y, float height) {
    TextStyle s;
    s.face = Face::Bold;
    s.size = height * 0.62f;
    s.fill = Solid(kInk);
    float tw = TextWidth(label, s);
    float w = std::max(height, tw + height * 0.6f);
    float y0 = y - height / 2, y1 = y + height / 2;
    Box b{static_cast<int>(x) - 2, static_cast<int>(y0) - 2, static_cast<int>(x + w) + 3,
          static_cast<int>(y1) + 4};
    c.Shape(RoundRect(x, y0 + 2, x + w, y1 + 2, height * 0.22f), kGoldDeep, b);
    c.Shape(RoundRect(x, y0, x + w, y1, height * 0.22f),
            VerticalGradient(y0, kGoldLight, y1, kGold), b);
    DrawTextCentered(c, label, x + w / 2, y, Align::Center, s);
    return w;
}

static const float kHintGap = 0.55f;

float HintsWidth(const std::vector<std::pair<std::string, std::string>>& items, float size) {
    TextStyle s = Body(size, kMuted);
    TextStyle k;
    k.face = Face::Bold;
    k.size = size * 1.3f * 0.62f;
    float w = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        float kh = size * 1.3f;
        w += std::max(kh, TextWidth(items[i].first, k) + kh * 0.6f) + size * 0.4f +
             TextWidth(items[i].second, s);
        if (i + 1 < items.size()) w += size * 2 * kHintGap + size;
    }
    return w;
}

void Hints(Canvas& c, const std::vector<std::pair<std::string, std::string>>& items, float x,
           float y, float size) {
    TextStyle s = Body(size, kMuted);
    float pen = x - HintsWidth(items, size) / 2;
    for (size_t i = 0; i < items.size(); ++i) {
        pen += KeyCap(c, items[i].first, pen, y, size * 1.3f) + size * 0.4f;
        DrawTextCentered(c, items[i].second, pen, y, Align::Left, s);
        pen += TextWidth(items[i].second, s);
        if (i + 1 < items.size()) {
            pen += size * kHintGap;
            c.Shape(Circle(pen + size / 2, y, size * 0.12f), kGoldDeep,
                    {int(pen), int(y) - 4, int(pen + size) + 1, int(y) + 5});
            pen += size + size * kHintGap;
        }
    }
}

void Rule(Canvas& c, float x0, float x1, float y, Color color) {
    float mid = (x0 + x1) / 2;
    Box b{static_cast<int>(x0) - 2, static_cast<int>(y) - 8, static_cast<int>(x1) + 3,
          static_cast<int>(y) + 9};
    c.Shape(
        Segment(x0, y, mid - 12, y, 1),
        [=](float x, float) { return WithAlpha(color, std::clamp((x - x0) / 60, 0.0f, 1.0f)); }, b);
    c.Shape(
        Segment(mid + 12, y, x1, y, 1),
        [=](float x, float) { return WithAlpha(color, std::clamp((x1 - x) / 60, 0.0f, 1.0f)); }, b);
    c.Shape(Polygon({mid, y - 6, mid + 6, y, mid, y + 6, mid - 6, y}), color, b);
}

void Ribbon(Canvas& c, float x0, float x1, float cy, float h, Color fill, Color edge) {
    float notch = h * 0.35f;
    auto shape = Polygon({x0, cy - h / 2, x1, cy - h / 2, x1 - notch, cy, x1, cy + h / 2, x0,
                          cy + h / 2, x0 + notch, cy});
    Box b{static_cast<int>(x0) - 4, static_cast<int>(cy - h / 2) - 4, static_cast<int>(x1) + 8,
          static_cast<int>(cy + h / 2) + 10};
    c.Shape(Inset(shape, -3), kInk, b);
    c.Shape(shape,
            VerticalGradient(cy - h / 2, Mix(fill, Hex(0xFFFFFF), 0.15f), cy + h / 2,
                             Mix(fill, kInk, 0.35f)),
            b);
    c.Shape(Outline(Inset(shape, 6), 2), edge, b);
}

void MenuItem(Canvas& c, const std::string& text, Point left, Point right, float size,
              const std::string& note) {
    float cx = (left.x + right.x) / 2, cy = (left.y + right.y) / 2;
    TextStyle s = Heading(size);
    DrawTextCentered(c, text, cx, cy, Align::Center, s);
    if (!note.empty()) {
        TextStyle n = Body(size * 0.45f, kMuted);
        DrawTextCentered(c, note, cx, cy + size * 0.55f + size * 0.3f, Align::Center, n);
    }
}

} // namespace theme
