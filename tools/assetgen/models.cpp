// Block models. Every kind has its own colour and its own silhouette (orb, pyramid, cube,
// diamond, cross) so that the kinds can be told apart without colour, even as faint ghosts.
// Materials carry a large emissive share because the game lights with one directional light
// and no ambient light: faces turned away from it would otherwise be black.
#include "models.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "output.h"

namespace models {

namespace {

constexpr float kHalf = 0.45f; // every block fits a 0.9 cube: neighbours keep a thin gap
constexpr float kBody = 0.8f;  // a kind's shape within it: a clear gap to its neighbours

Vec3 Sub(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Normalized(Vec3 v) {
    float l = std::sqrt(Dot(v, v));
    return l > 0 ? Vec3{v.x / l, v.y / l, v.z / l} : v;
}
Vec3 Scaled(Vec3 v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

class Builder {
  public:
    Mesh mesh;
    int Material(const models::Material& m) {
        mesh.materials.push_back(m);
        return static_cast<int>(mesh.materials.size()) - 1;
    }
    // A flat face; its normal points away from `inside`. Faces are wound clockwise as seen
    // from outside (the left-handed convention).
    void Flat(std::vector<Vec3> pts, int material, Vec3 inside) {
        Vec3 c{0, 0, 0};
        for (Vec3 p : pts) c = {c.x + p.x, c.y + p.y, c.z + p.z};
        c = Scaled(c, 1.0f / pts.size());
        Vec3 n = Normalized(Cross(Sub(pts[1], pts[0]), Sub(pts[2], pts[0])));
        // Left-handed clockwise winding gives Cross(b - a, c - a) pointing outward.
        if (Dot(n, Sub(c, inside)) < 0) {
            std::reverse(pts.begin(), pts.end());
            n = Scaled(n, -1);
        }
        std::vector<int> face;
        for (Vec3 p : pts) {
            face.push_back(static_cast<int>(mesh.positions.size()));
            mesh.positions.push_back(p);
            mesh.normals.push_back(n);
        }
        mesh.faces.push_back(face);
        mesh.faceMaterial.push_back(material);
    }
};

models::Material Block(float r, float g, float b, float glow) {
    return {r, g, b, 1, 24, 0.6f, 0.6f, 0.6f, r * glow, g * glow, b * glow};
}

// The vanishing look: white-hot, glowing on every side whatever the light.
models::Material WhiteHot(const models::Material& m) {
    auto lift = [](float c) { return c + (1 - c) * 0.85f; };
    return {lift(m.r), lift(m.g), lift(m.b), 1, 8, 1, 1, 1, 1, 1, 1};
}
// Its tile: the kind's colour at full glow.
models::Material Glow(const models::Material& m) {
    auto glow = [](float c) { return std::min(1.0f, c * 1.3f + 0.15f); };
    float r = glow(m.r), g = glow(m.g), b = glow(m.b);
    return {r, g, b, 1, 8, 0, 0, 0, r, g, b};
}
// The dark floor tile of every cell: where one row ends and the next begins.
const models::Material kTile = {0.03f, 0.03f, 0.06f, 1, 4, 0, 0, 0, 0.02f, 0.02f, 0.04f};

// Meridian stripes in a second material (`stripe`, -1 for none) show the orb's spin.
void Orb(Builder& b, float s, int mat, int stripe = -1) {
    const int seg = 12, rings = 8; // smooth normals carry the roundness at block size
    float r = kHalf * s;
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < seg; ++j) {
            auto p = [&](int ii, int jj) {
                float th = 3.14159265f * ii / rings, ph = 2 * 3.14159265f * jj / seg;
                return Vec3{r * std::sin(th) * std::cos(ph), r * std::cos(th),
                            r * std::sin(th) * std::sin(ph)};
            };
            std::vector<Vec3> quad{p(i, j), p(i, j + 1), p(i + 1, j + 1), p(i + 1, j)};
            if (i == 0)
                quad.erase(quad.begin()); // the poles are triangles
            else if (i == rings - 1)
                quad.erase(quad.begin() + 3);
            size_t first = b.mesh.positions.size();
            b.Flat(quad, stripe >= 0 && (j / 2) % 2 ? stripe : mat, {0, 0, 0});
            // Smooth: each vertex's normal is its direction from the centre.
            for (size_t k = first; k < b.mesh.positions.size(); ++k)
                b.mesh.normals[k] = Normalized(b.mesh.positions[k]);
        }
}

void Pyramid(Builder& b, float s, int mat) {
    float h = kHalf * s;
    Vec3 apex{0, h, 0}, inside{0, -h / 2, 0};
    Vec3 c[4] = {{-h, -h, -h}, {h, -h, -h}, {h, -h, h}, {-h, -h, h}};
    for (int i = 0; i < 4; ++i) b.Flat({c[i], c[(i + 1) % 4], apex}, mat, inside);
    b.Flat({c[0], c[1], c[2], c[3]}, mat, inside);
}

// A cube of half size h with its edges chamfered by `bevel`.
void ChamferedCube(Builder& b, float h, float bevel, int mat) {
    float a = h - bevel;
    auto P = [](int axis, float v, int j, float vj, float vk) {
        float p[3];
        p[axis] = v;
        p[(axis + 1) % 3] = j == 0 ? vj : vk;
        p[(axis + 2) % 3] = j == 0 ? vk : vj;
        return Vec3{p[0], p[1], p[2]};
    };
    for (int axis = 0; axis < 3; ++axis)
        for (float s : {-1.0f, 1.0f})
            b.Flat({P(axis, s * h, 0, -a, -a), P(axis, s * h, 0, a, -a), P(axis, s * h, 0, a, a),
                    P(axis, s * h, 0, -a, a)},
                   mat, {0, 0, 0});
    if (bevel <= 0) return; // a plain cube
    // Edges: between the faces of axis i (sign si) and axis j (sign sj); k the remaining axis.
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            int k = 3 - i - j;
            for (float si : {-1.0f, 1.0f})
                for (float sj : {-1.0f, 1.0f}) {
                    auto V = [&](float vi, float vj, float vk) {
                        float p[3];
                        p[i] = vi;
                        p[j] = vj;
                        p[k] = vk;
                        return Vec3{p[0], p[1], p[2]};
                    };
                    b.Flat({V(si * h, sj * a, -a), V(si * h, sj * a, a), V(si * a, sj * h, a),
                            V(si * a, sj * h, -a)},
                           mat, {0, 0, 0});
                }
        }
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            for (float sz : {-1.0f, 1.0f})
                b.Flat(
                    {{sx * h, sy * a, sz * a}, {sx * a, sy * h, sz * a}, {sx * a, sy * a, sz * h}},
                    mat, {0, 0, 0});
}

void Diamond(Builder& b, float s, int mat) {
    float w = 0.4f * s, h = kHalf * s;
    Vec3 top{0, h, 0}, bottom{0, -h, 0};
    // The girdle's corners on the cell's diagonals: seen across the turned board it is wide.
    Vec3 ring[4] = {{-w, 0, -w}, {w, 0, -w}, {w, 0, w}, {-w, 0, w}};
    for (int i = 0; i < 4; ++i) {
        b.Flat({ring[i], ring[(i + 1) % 4], top}, mat, {0, 0, 0});
        b.Flat({ring[i], ring[(i + 1) % 4], bottom}, mat, {0, 0, 0});
    }
}

// Three crossed bars: six arms from a shared centre.
void Cross3(Builder& b, float s, int mat, float grow = 0) {
    float t = 0.2f * s + grow, h = kHalf * s + grow; // thick arms read as a cross, not a speckle
    for (int axis = 0; axis < 3; ++axis)
        for (float sign : {-1.0f, 1.0f}) {
            auto V = [&](float along, float u, float v) {
                float p[3];
                p[axis] = sign * along;
                p[(axis + 1) % 3] = u;
                p[(axis + 2) % 3] = v;
                return Vec3{p[0], p[1], p[2]};
            };
            Vec3 inside = V((t + h) / 2, 0, 0);
            b.Flat({V(h, -t, -t), V(h, t, -t), V(h, t, t), V(h, -t, t)}, mat, inside);
            b.Flat({V(t, -t, -t), V(h, -t, -t), V(h, -t, t), V(t, -t, t)}, mat, inside);
            b.Flat({V(t, t, -t), V(h, t, -t), V(h, t, t), V(t, t, t)}, mat, inside);
            b.Flat({V(t, -t, -t), V(h, -t, -t), V(h, t, -t), V(t, t, -t)}, mat, inside);
            b.Flat({V(t, -t, t), V(h, -t, t), V(h, t, t), V(t, t, t)}, mat, inside);
        }
}

// Raspberry, amber, green, sky and violet: they stay apart for the common colour-vision
// deficiencies as well (the asset tests simulate them).
const models::Material kKinds[6] = {
    {},
    Block(0.72f, 0.20f, 0.42f, 0.42f), // raspberry orb
    Block(1.00f, 0.75f, 0.18f, 0.38f), // amber pyramid
    Block(0.12f, 0.56f, 0.23f, 0.45f), // green cube
    Block(0.25f, 0.78f, 0.97f, 0.40f), // sky diamond
    Block(0.55f, 0.24f, 0.91f, 0.45f), // violet cross
};

void KindShape(Builder& b, int kind, float scale, int mat, int stripe = -1) {
    switch (kind) {
    case 1:
        Orb(b, scale, mat, stripe);
        break;
    case 2:
        Pyramid(b, scale, mat);
        break;
    case 3:
        ChamferedCube(b, kHalf * scale * 0.95f, 0.07f * scale, mat);
        break;
    case 4:
        Diamond(b, scale, mat);
        break;
    default:
        Cross3(b, scale, mat);
        break;
    }
}

// An axis-aligned box between two corners.
void Slab(Builder& b, Vec3 lo, Vec3 hi, int mat) {
    Vec3 c{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    b.Flat({{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}}, mat,
           c);
    b.Flat({{lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}, mat,
           c);
    b.Flat({{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}}, mat,
           c);
    b.Flat({{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}, mat,
           c);
    b.Flat({{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}}, mat,
           c);
    b.Flat({{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}}, mat,
           c);
}

// A block of a kind: the shape at `body` of the cell, standing on a thin tile of `tile`
// material that fills the floor of the cell, so that stacks read as rows of cells. (The game
// draws without culling, so an outline shell would hide the block.)
void KindOnTile(Builder& b, int kind, float body, int mat, int stripe, int tile) {
    KindShape(b, kind, body, mat, stripe);
    const float w = kHalf * 0.96f;
    Slab(b, {-w, -kHalf, -w}, {w, -kHalf + 0.06f, w}, tile);
}

// The garbage block: a dark iron crate with an orange cross brace on every face.
void Garbage(Builder& b) {
    int body = b.Material(Block(0.26f, 0.26f, 0.30f, 0.45f));
    int brace = b.Material(Block(0.95f, 0.45f, 0.10f, 0.50f));
    ChamferedCube(b, kHalf - 0.016f, 0.06f, body);
    float h = kHalf - 0.004f, e = 0.29f, w = 0.055f;
    for (int axis = 0; axis < 3; ++axis)
        for (float sign : {-1.0f, 1.0f})
            for (int diag = 0; diag < 2; ++diag) {
                float lift = h + diag * 0.004f;
                auto V = [&](float u, float v) {
                    float p[3];
                    p[axis] = sign * lift;
                    p[(axis + 1) % 3] = u;
                    p[(axis + 2) % 3] = diag ? -v : v;
                    return Vec3{p[0], p[1], p[2]};
                };
                b.Flat({V(-e - w, -e + w), V(-e + w, -e - w), V(e + w, e - w), V(e - w, e + w)},
                       brace, {0, 0, 0});
            }
}

// The warning ceiling: red and amber hazard bands (the game stretches it into a flat slab).
void Warning(Builder& b) {
    int red = b.Material({1.0f, 0.16f, 0.12f, 1, 10, 0.5f, 0.5f, 0.5f, 0.95f, 0.12f, 0.08f});
    int amber = b.Material({1.0f, 0.70f, 0.10f, 1, 10, 0.5f, 0.5f, 0.5f, 1.0f, 0.62f, 0.06f});
    const int bands = 9;
    float h = kHalf;
    for (int i = 0; i < bands; ++i) {
        float x0 = -h + 2 * h * i / bands, x1 = -h + 2 * h * (i + 1) / bands;
        int mat = i % 2 ? amber : red;
        Vec3 inside{(x0 + x1) / 2, 0, 0};
        b.Flat({{x0, h, -h}, {x1, h, -h}, {x1, h, h}, {x0, h, h}}, mat, inside);
        b.Flat({{x0, -h, -h}, {x1, -h, -h}, {x1, -h, h}, {x0, -h, h}}, mat, inside);
        b.Flat({{x0, -h, -h}, {x1, -h, -h}, {x1, h, -h}, {x0, h, -h}}, mat, inside);
        b.Flat({{x0, -h, h}, {x1, -h, h}, {x1, h, h}, {x0, h, h}}, mat, inside);
        if (i == 0) b.Flat({{x0, -h, -h}, {x0, h, -h}, {x0, h, h}, {x0, -h, h}}, mat, inside);
        if (i == bands - 1)
            b.Flat({{x1, -h, -h}, {x1, h, -h}, {x1, h, h}, {x1, -h, h}}, mat, inside);
    }
}

std::string Num(float v) {
    if (std::fabs(v) < 5e-7f) v = 0; // no "-0.000000"
    char s[32];
    std::snprintf(s, sizeof s, "%.6f", v);
    return s;
}

} // namespace

Mesh Build(int n) {
    Builder b;
    if (n >= 1 && n <= 5) {
        int body = b.Material(kKinds[n]), tile = b.Material(kTile);
        int stripe = n == 1 ? b.Material(Block(0.97f, 0.70f, 0.82f, 0.5f)) : -1;
        KindOnTile(b, n, kBody, body, stripe, tile);
    } else if (n == 6) {
        // Neutral: pale glass-steel; also the ceiling slab and the wireframe of vanishing cells.
        int mat = b.Material({0.78f, 0.84f, 0.96f, 1, 30, 0.6f, 0.6f, 0.6f, 0.30f, 0.33f, 0.40f});
        ChamferedCube(b, kHalf, 0.0f, mat);
    } else if (n == 7) {
        Garbage(b);
    } else if (n == 8) {
        Warning(b);
    } else if (n >= 9 && n <= 13) {
        // White-hot, slightly larger than the neutral block, so it also shows round one drawn
        // in the same cell, on a tile glowing in the kind's colour.
        const models::Material& kind = kKinds[n - 8];
        int core = b.Material(WhiteHot(kind)), glow = b.Material(Glow(kind));
        KindOnTile(b, n - 8, 1.08f, core, -1, glow);
    }
    return b.mesh;
}

std::string XText(const Mesh& m, const std::string& name) {
    std::string s = "xof 0303txt 0032\n\n";
    auto list = [&](size_t count, auto item) {
        for (size_t i = 0; i < count; ++i) {
            s += ' ';
            s += item(i);
            s += i + 1 < count ? ",\n" : ";\n";
        }
    };
    auto vec = [&](Vec3 v) { return Num(v.x) + ";" + Num(v.y) + ";" + Num(v.z) + ";"; };
    auto faces = [&](size_t i) {
        std::string f = std::to_string(m.faces[i].size()) + ";";
        for (size_t k = 0; k < m.faces[i].size(); ++k) {
            if (k) f += ',';
            f += std::to_string(m.faces[i][k]);
        }
        return f + ";";
    };
    auto count = [&](size_t n) {
        s += ' ';
        s += std::to_string(n);
        s += ";\n";
    };
    s += "Mesh " + name + " {\n";
    count(m.positions.size());
    list(m.positions.size(), [&](size_t i) { return vec(m.positions[i]); });
    count(m.faces.size());
    list(m.faces.size(), faces);
    s += "\n MeshNormals {\n";
    count(m.normals.size());
    list(m.normals.size(), [&](size_t i) { return vec(m.normals[i]); });
    count(m.faces.size());
    list(m.faces.size(), faces);
    s += " }\n\n MeshTextureCoords {\n";
    count(m.positions.size());
    // Planar coordinates from the front view; no model is textured, loaders still get them.
    list(m.positions.size(), [&](size_t i) {
        return Num(0.5f + m.positions[i].x) + ";" + Num(0.5f - m.positions[i].y) + ";";
    });
    s += " }\n\n MeshMaterialList {\n";
    count(m.materials.size());
    count(m.faces.size());
    list(m.faces.size(), [&](size_t i) { return std::to_string(m.faceMaterial[i]); });
    for (const Material& mt : m.materials) {
        s += "\n Material {\n  " + Num(mt.r) + ";" + Num(mt.g) + ";" + Num(mt.b) + ";" + Num(mt.a) +
             ";;\n  " + Num(mt.power) + ";\n  " + Num(mt.sr) + ";" + Num(mt.sg) + ";" + Num(mt.sb) +
             ";;\n  " + Num(mt.er) + ";" + Num(mt.eg) + ";" + Num(mt.eb) + ";;\n }\n";
    }
    s += " }\n}\n";
    return s;
}

void MakeModels() {
    static const char* const kDigits[] = {"０", "１", "２", "３", "４",
                                          "５", "６", "７", "８", "９"};
    for (int n = 1; n <= 13; ++n) {
        std::string number = n < 10 ? kDigits[n] : std::string(kDigits[n / 10]) + kDigits[n % 10];
        std::string name = "Block" + std::to_string(n);
        out::WriteText("./xFile/パズル用図形" + number + ".x", XText(Build(n), name));
    }
}

} // namespace models
