// A small software renderer that shows the models as the game lights them: one white
// directional light along (10, -10, 10), no ambient light, colour = emissive + diffuse * N.L.
#include <algorithm>
#include <cmath>
#include <vector>

#include "models.h"
#include "output.h"

namespace models {

namespace {

struct Image {
    int w, h;
    std::vector<float> rgb, depth;
    Image(int w, int h) : w(w), h(h), rgb(size_t(w) * h * 3), depth(size_t(w) * h, 1e9f) {}
};

Vec3 Rotate(Vec3 p, float yaw, float pitch) {
    // Row vector times RotationY(yaw), then a small tilt about x (as seen from a little above).
    float c = std::cos(yaw), s = std::sin(yaw);
    Vec3 r{p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
    float cp = std::cos(pitch), sp = std::sin(pitch);
    return {r.x, r.y * cp - r.z * sp, r.y * sp + r.z * cp};
}

// Draws `mesh` scaled by (sx, sy, sz), turned by `yaw`, centred at pixel (cx, cy) with `ppu`
// pixels per unit, blended with `alpha` over what is there.
void Render(Image& img, const Mesh& mesh, float sx, float sy, float sz, float yaw, float cx,
            float cy, float ppu, float alpha) {
    const float l = 1 / std::sqrt(3.0f);
    const Vec3 toLight{-l, l, -l};
    Image layer(img.w, img.h);
    std::vector<unsigned char> covered(size_t(img.w) * img.h, 0);
    for (size_t f = 0; f < mesh.faces.size(); ++f) {
        const Material& m = mesh.materials[mesh.faceMaterial[f]];
        const auto& face = mesh.faces[f];
        for (size_t t = 1; t + 1 < face.size(); ++t) {
            int idx[3] = {face[0], face[t], face[t + 1]};
            float px[3], py[3], pz[3], shade[3][3];
            for (int k = 0; k < 3; ++k) {
                Vec3 p = mesh.positions[idx[k]];
                Vec3 v = Rotate({p.x * sx, p.y * sy, p.z * sz}, yaw, 0.25f);
                px[k] = cx + v.x * ppu;
                py[k] = cy - v.y * ppu;
                pz[k] = v.z;
                Vec3 n = mesh.normals[idx[k]];
                Vec3 nw = Rotate({n.x / sx, n.y / sy, n.z / sz}, yaw, 0.25f);
                float len = std::sqrt(nw.x * nw.x + nw.y * nw.y + nw.z * nw.z);
                float d = std::max(0.0f, (nw.x * toLight.x + nw.y * toLight.y + nw.z * toLight.z) /
                                             (len > 0 ? len : 1));
                shade[k][0] = std::min(1.0f, m.er + m.r * d);
                shade[k][1] = std::min(1.0f, m.eg + m.g * d);
                shade[k][2] = std::min(1.0f, m.eb + m.b * d);
            }
            float area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
            if (std::fabs(area) < 1e-6f) continue;
            int x0 = std::max(0, int(std::floor(std::min({px[0], px[1], px[2]}))));
            int x1 = std::min(img.w - 1, int(std::ceil(std::max({px[0], px[1], px[2]}))));
            int y0 = std::max(0, int(std::floor(std::min({py[0], py[1], py[2]}))));
            int y1 = std::min(img.h - 1, int(std::ceil(std::max({py[0], py[1], py[2]}))));
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    float qx = x + 0.5f, qy = y + 0.5f;
                    float w0 = ((px[1] - qx) * (py[2] - qy) - (px[2] - qx) * (py[1] - qy)) / area;
                    float w1 = ((px[2] - qx) * (py[0] - qy) - (px[0] - qx) * (py[2] - qy)) / area;
                    float w2 = 1 - w0 - w1;
                    if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                    float z = w0 * pz[0] + w1 * pz[1] + w2 * pz[2];
                    size_t i = size_t(y) * img.w + x;
                    if (z >= layer.depth[i]) continue;
                    layer.depth[i] = z;
                    covered[i] = 1;
                    for (int ch = 0; ch < 3; ++ch)
                        layer.rgb[i * 3 + ch] =
                            w0 * shade[0][ch] + w1 * shade[1][ch] + w2 * shade[2][ch];
                }
        }
    }
    for (size_t i = 0; i < covered.size(); ++i)
        if (covered[i])
            for (int ch = 0; ch < 3; ++ch)
                img.rgb[i * 3 + ch] =
                    img.rgb[i * 3 + ch] * (1 - alpha) + layer.rgb[i * 3 + ch] * alpha;
}

} // namespace

bool WritePreview(const std::filesystem::path& path) {
    // Row 1: models 1..7 solid. Row 2: models 1..5 as ghosts at alpha 0.1, then 6 at 0.5.
    // Row 3: vanishing models 9..13, garbage on neutral. Row 4: the ceilings, stretched flat.
    const int cell = 150, cols = 7;
    Image img(cols * cell, 4 * cell + 40);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float t = float(y) / img.h;
            img.rgb[(size_t(y) * img.w + x) * 3 + 0] = 0.10f - 0.06f * t;
            img.rgb[(size_t(y) * img.w + x) * 3 + 1] = 0.14f - 0.08f * t;
            img.rgb[(size_t(y) * img.w + x) * 3 + 2] = 0.33f - 0.19f * t;
        }
    const float yaw = 0.7853982f, ppu = 90;
    for (int n = 1; n <= 7; ++n)
        Render(img, Build(n), 1, 1, 1, yaw, (n - 0.5f) * cell, cell * 0.5f, ppu, 1);
    for (int n = 1; n <= 5; ++n)
        Render(img, Build(n), 1, 1, 1, yaw, (n - 0.5f) * cell, cell * 1.5f, ppu, 0.1f);
    Render(img, Build(6), 1, 1, 1, yaw, 5.5f * cell, cell * 1.5f, ppu, 0.5f);
    for (int n = 9; n <= 13; ++n)
        Render(img, Build(n), 1, 1, 1, yaw, (n - 8.5f) * cell, cell * 2.5f, ppu, 1);
    Render(img, Build(6), 1, 1, 1, yaw, 5.5f * cell, cell * 2.5f, ppu, 1);
    Render(img, Build(11), 1, 1, 1, yaw, 5.5f * cell, cell * 2.5f, ppu, 1);
    Render(img, Build(6), 15.5f, 1, 10.5f, 0.7679449f, 1.75f * cell, cell * 3.6f, 20, 0.5f);
    Render(img, Build(8), 15.5f, 1, 10.5f, 0.7679449f, 5.0f * cell, cell * 3.6f, 20, 0.5f);
    std::vector<uint32_t> px(size_t(img.w) * img.h);
    for (size_t i = 0; i < px.size(); ++i) {
        auto c = [&](int ch) {
            return uint32_t(std::lround(std::clamp(img.rgb[i * 3 + ch], 0.0f, 1.0f) * 255));
        };
        px[i] = c(0) << 16 | c(1) << 8 | c(2);
    }
    return out::WritePng(path, img.w, img.h, px);
}

} // namespace models
