// The canvas: anti-aliased signed-distance shapes, masks, compositing and resampling.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

Color Mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color WithAlpha(Color c, float a) {
    c.a = a;
    return c;
}

Paint Solid(Color c) {
    return [c](float, float) { return c; };
}

Paint VerticalGradient(float y0, Color top, float y1, Color bottom) {
    return [=](float, float y) {
        float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
        return Mix(top, bottom, t);
    };
}

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

static float SegmentDistance(float x, float y, float x0, float y0, float x1, float y1) {
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy);
}

Sdf Polygon(std::vector<float> xy) {
    return [p = std::move(xy)](float x, float y) {
        size_t n = p.size() / 2;
        float best = 1e30f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
            best = std::min(best, SegmentDistance(x, y, xj, yj, xi, yi));
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside ? -best : best;
    };
}

Sdf Segment(float x0, float y0, float x1, float y1, float halfWidth) {
    return [=](float x, float y) { return SegmentDistance(x, y, x0, y0, x1, y1) - halfWidth; };
}

Sdf Outline(Sdf shape, float width) {
    return [=](float x, float y) { return std::fabs(shape(x, y)) - width / 2; };
}

Sdf Inset(Sdf shape, float by) {
    return [=](float x, float y) { return shape(x, y) + by; };
}

Mask Mask::Dilated(float radius) const {
    int r = static_cast<int>(std::ceil(radius));
    Mask out(width + 2 * r, height + 2 * r);
    // Offsets within the disc, with a soft rim for anti-aliasing.
    std::vector<std::pair<int, int>> offs;
    std::vector<float> weight;
    for (int dy = -r - 1; dy <= r + 1; ++dy)
        for (int dx = -r - 1; dx <= r + 1; ++dx) {
            float w = std::clamp(radius + 0.5f - std::hypot(float(dx), float(dy)), 0.0f, 1.0f);
            if (w > 0) {
                offs.emplace_back(dx, dy);
                weight.push_back(w);
            }
        }
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            float best = 0;
            for (size_t i = 0; i < offs.size() && best < 1; ++i)
                best =
                    std::max(best, At(x - r + offs[i].first, y - r + offs[i].second) * weight[i]);
            out.v[y * out.width + x] = best;
        }
    return out;
}

Mask Mask::Blurred(int radius) const {
    Mask out(width + 2 * radius, height + 2 * radius);
    Mask tmp(out.width, height);
    float n = 2.0f * radius + 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < tmp.width; ++x) {
            float s = 0;
            for (int k = -radius; k <= radius; ++k) s += At(x - radius + k, y);
            tmp.v[y * tmp.width + x] = s / n;
        }
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            float s = 0;
            for (int k = -radius; k <= radius; ++k) s += tmp.At(x, y - radius + k);
            out.v[y * out.width + x] = s / n;
        }
    return out;
}

Canvas::Canvas(int width, int height)
    : width(width), height(height), px(static_cast<size_t>(width) * height, Color{0, 0, 0, 0}) {}

void Canvas::Blend(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (a <= 0) return;
    Color& d = px[static_cast<size_t>(y) * width + x];
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

void Canvas::Fill(const Paint& paint) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Blend(x, y, paint(x + 0.5f, y + 0.5f), 1);
}

void Canvas::Shape(const Sdf& sdf, const Paint& paint, Box b) {
    int x0 = std::max(b.x0, 0), y0 = std::max(b.y0, 0);
    int x1 = std::min(b.x1, width), y1 = std::min(b.y1, height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float cov = std::clamp(0.5f - sdf(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
            if (cov > 0) Blend(x, y, paint(x + 0.5f, y + 0.5f), cov);
        }
}

void Canvas::Stamp(const Mask& mask, int x, int y, const Paint& paint) {
    for (int j = 0; j < mask.height; ++j)
        for (int i = 0; i < mask.width; ++i) {
            float cov = mask.v[j * mask.width + i];
            if (cov > 0) Blend(x + i, y + j, paint(x + i + 0.5f, y + j + 0.5f), cov);
        }
}

void Canvas::Draw(const Canvas& other, int x, int y) {
    for (int j = 0; j < other.height; ++j)
        for (int i = 0; i < other.width; ++i) {
            Color s = other.At(i, j);
            Blend(x + i, y + j, s, 1);
        }
}

Color Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0, 0};
    Color c = px[static_cast<size_t>(y) * width + x];
    if (c.a <= 0) return {0, 0, 0, 0};
    return {c.r / c.a, c.g / c.a, c.b / c.a, c.a};
}

Color Canvas::Sample(float x, float y) const {
    x -= 0.5f;
    y -= 0.5f;
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    auto get = [&](int i, int j) {
        i = std::clamp(i, 0, width - 1);
        j = std::clamp(j, 0, height - 1);
        return px[static_cast<size_t>(j) * width + i];
    };
    Color top = Mix(get(ix, iy), get(ix + 1, iy), fx);
    Color bottom = Mix(get(ix, iy + 1), get(ix + 1, iy + 1), fx);
    return Mix(top, bottom, fy);
}

Canvas Resample(const Canvas& src, int width, int height, float ax, float bx, float ay, float by) {
    Canvas out(width, height);
    for (int v = 0; v < height; ++v)
        for (int u = 0; u < width; ++u)
            out.px[static_cast<size_t>(v) * width + u] =
                src.Sample(ax * (u + 0.5f) + bx, ay * (v + 0.5f) + by);
    return out;
}

std::vector<uint32_t> Flatten(const Canvas& canvas, uint32_t key, Color matte) {
    std::vector<uint32_t> out(canvas.px.size());
    key &= 0xFFFFFF;
    for (size_t i = 0; i < out.size(); ++i) {
        const Color& c = canvas.px[i];
        if (c.a < 0.5f) {
            out[i] = key;
            continue;
        }
        auto channel = [&](float premul, float m) {
            float v = premul + m * (1 - c.a);
            return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
        };
        uint32_t rgb =
            channel(c.r, matte.r) << 16 | channel(c.g, matte.g) << 8 | channel(c.b, matte.b);
        if (rgb == key) rgb ^= 1; // one step of blue away from the transparent colour
        out[i] = rgb;
    }
    return out;
}

} // namespace art
