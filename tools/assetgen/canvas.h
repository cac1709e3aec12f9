// A floating-point RGBA canvas with anti-aliased shapes, masks and resampling: the easel every
// picture of the game is painted on.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace art {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};
// 0xRRGGBB with an alpha.
constexpr Color Hex(uint32_t rgb, float a = 1) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}
Color Mix(Color a, Color b, float t);
Color WithAlpha(Color c, float a);

// A colour chosen per pixel (gradients, patterns).
using Paint = std::function<Color(float x, float y)>;
Paint Solid(Color c);
Paint VerticalGradient(float y0, Color top, float y1, Color bottom);

// Signed distance of a point to a shape: negative inside.
using Sdf = std::function<float(float x, float y)>;
Sdf RoundRect(float x0, float y0, float x1, float y1, float radius);
Sdf Circle(float cx, float cy, float r);
Sdf Polygon(std::vector<float> xy); // x0, y0, x1, y1, ...
Sdf Segment(float x0, float y0, float x1, float y1, float halfWidth);
Sdf Outline(Sdf shape, float width); // a band of `width` centred on the shape's edge
Sdf Inset(Sdf shape, float by);      // grown (negative) or shrunk (positive)

struct Box {
    int x0, y0, x1, y1;
};

// Coverage values 0..1 (text, shadows).
struct Mask {
    int width = 0, height = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h, 0.0f) {}
    float At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : v[y * width + x];
    }
    Mask Dilated(float radius) const;
    Mask Blurred(int radius) const;
};

class Canvas {
  public:
    Canvas(int width, int height);
    int width, height;
    std::vector<Color> px; // premultiplied

    void Fill(const Paint& paint);
    void Shape(const Sdf& sdf, const Paint& paint, Box bounds);
    void Shape(const Sdf& sdf, Color c, Box bounds) { Shape(sdf, Solid(c), bounds); }
    // The mask placed with its top-left at (x, y).
    void Stamp(const Mask& mask, int x, int y, const Paint& paint);
    // Another canvas drawn over this one with its top-left at (x, y).
    void Draw(const Canvas& other, int x, int y);
    // Blends one pixel; `c` is straight alpha.
    void Blend(int x, int y, Color c, float coverage);
    Color At(int x, int y) const; // straight alpha, transparent outside
    // Bilinear sample at a continuous position (pixel centres at +0.5), premultiplied.
    Color Sample(float x, float y) const;
};

// A canvas of `width` x `height` whose texel (u, v) shows `src` at (ax * u + bx, ay * v + by):
// the way a picture composed in screen pixels becomes a texture stretched over a quad.
Canvas Resample(const Canvas& src, int width, int height, float ax, float bx, float ay, float by);

// Exports as 24-bit opaque pixels, rows top to bottom, 0xRRGGBB: texels that are less than half
// covered take `key`; the others are composed over `matte`. No opaque texel equals `key`.
std::vector<uint32_t> Flatten(const Canvas& canvas, uint32_t key, Color matte);

} // namespace art
