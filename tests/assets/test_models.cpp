// The generated block models as the game's .x reader sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "generated_data.h"
#include "media/xfile.h"

namespace assets {
namespace {

class Models : public GeneratedData {
  protected:
    XModel Parse(int n) {
        const DataFile& f = kDataFiles[n - 1];
        std::vector<uint8_t> bytes = Bytes(PathOf(f.path));
        XModel model;
        EXPECT_TRUE(ParseXFile(bytes.data(), bytes.size(), model)) << f.path;
        return model;
    }
    static float Extent(const XModel& m) {
        float e = 0;
        for (const auto& v : m.mesh.vertices)
            e = std::max({e, std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
        return e;
    }
};

TEST_F(Models, BlocksFitTheirCellAndVanishingLooksOutgrowTheNeutralBlock) {
    for (int n = 1; n <= 8; ++n) {
        float e = Extent(Parse(n));
        EXPECT_LE(e, 0.455f) << "model " << n << " would touch its neighbours";
        EXPECT_GE(e, 0.40f) << "model " << n << " is too small for its cell";
    }
    float neutral = Extent(Parse(6));
    for (int n = 9; n <= 13; ++n) {
        float e = Extent(Parse(n));
        EXPECT_GT(e, neutral) << "model " << n << " hides inside the neutral block";
        EXPECT_LT(e, 0.5f) << "model " << n;
    }
}

TEST_F(Models, HaveTheirMaterialsEachWithFacesAndEverySideReadsWithoutAmbientLight) {
    const size_t materials[14] = {0, 3, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 2};
    for (int n = 1; n <= 13; ++n) {
        XModel m = Parse(n);
        ASSERT_EQ(m.materials.size(), materials[n]) << "model " << n;
        ASSERT_EQ(m.mesh.subsets.size(), materials[n]) << "model " << n;
        for (const auto& subset : m.mesh.subsets) EXPECT_GT(subset.indexCount, 0u) << n;
        for (const XMaterial& mat : m.materials) {
            // The light comes from one side only: the emissive share keeps the far sides lit.
            float diffuse = mat.diffuse.r + mat.diffuse.g + mat.diffuse.b;
            float emissive = mat.emissive.r + mat.emissive.g + mat.emissive.b;
            EXPECT_GE(emissive, 0.3f * diffuse) << "model " << n;
            EXPECT_EQ(mat.diffuse.a, 1.0f) << "model " << n;
            EXPECT_TRUE(mat.textureFile.empty()) << "model " << n;
        }
    }
}

using Vertex = platform::MeshData::Vertex;
// Sum over a triangle's corners of their normal dotted with `d`.
float Along(const Vertex* t[3], float dx, float dy, float dz) {
    float s = 0;
    for (int k = 0; k < 3; ++k) s += t[k]->nx * dx + t[k]->ny * dy + t[k]->nz * dz;
    return s;
}
// Calls `f(triangle, material)` for every triangle of the model.
template <class F> void EachTriangle(const XModel& m, F f) {
    for (size_t s = 0; s < m.mesh.subsets.size(); ++s) {
        const auto& sub = m.mesh.subsets[s];
        for (uint32_t i = sub.indexStart; i + 2 < sub.indexStart + sub.indexCount; i += 3) {
            const Vertex* t[3] = {&m.mesh.vertices[m.mesh.indices[i]],
                                  &m.mesh.vertices[m.mesh.indices[i + 1]],
                                  &m.mesh.vertices[m.mesh.indices[i + 2]]};
            f(t, s);
        }
    }
}

TEST_F(Models, NormalsAgreeWithTheFacesTheGameKeepsAndBodiesFaceOutward) {
    // Faces wound clockwise are the ones drawn; a normal against its face turns it black.
    // The body (first material) looks away from the centre.
    for (int n = 1; n <= 13; ++n) {
        XModel m = Parse(n);
        EachTriangle(m, [&](const Vertex* t[3], size_t material) {
            float ux = t[1]->x - t[0]->x, uy = t[1]->y - t[0]->y, uz = t[1]->z - t[0]->z;
            float vx = t[2]->x - t[0]->x, vy = t[2]->y - t[0]->y, vz = t[2]->z - t[0]->z;
            ASSERT_GT(Along(t, uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx), 0.0f)
                << "model " << n;
            if (material == 0) {
                ASSERT_GT(Along(t, t[0]->x + t[1]->x + t[2]->x, t[0]->y + t[1]->y + t[2]->y,
                                t[0]->z + t[1]->z + t[2]->z),
                          0.0f)
                    << "model " << n;
            }
            ASSERT_NEAR(t[0]->nx * t[0]->nx + t[0]->ny * t[0]->ny + t[0]->nz * t[0]->nz, 1.0f,
                        1e-3f);
        });
    }
}

TEST_F(Models, EveryKindStandsApartOnADarkTileAndVanishesWhiteHot) {
    // A cell reads as a cell: the shape keeps a clear gap to its neighbours and stands on a
    // thin dark tile that fills the cell's floor, so stacks read as rows. Vanishing kinds are
    // white-hot on a tile glowing in their colour.
    for (int n : {1, 2, 3, 4, 5, 9, 10, 11, 12, 13}) {
        XModel m = Parse(n);
        float body = 0, bodyLow = 1, tileTop = -1, tileWide = 0;
        EachTriangle(m, [&](const Vertex* t[3], size_t material) {
            for (int k = 0; k < 3; ++k) {
                if (material == 1) {
                    tileTop = std::max(tileTop, t[k]->y);
                    tileWide = std::max({tileWide, std::fabs(t[k]->x), std::fabs(t[k]->z)});
                } else {
                    body = std::max({body, std::fabs(t[k]->x), std::fabs(t[k]->z)});
                    bodyLow = std::min(bodyLow, t[k]->y);
                }
            }
        });
        EXPECT_GT(tileWide, 0.42f) << "model " << n;
        EXPECT_LT(tileTop, -0.36f) << "model " << n;
        auto light = [](const XMaterial& x) {
            return x.diffuse.r + x.diffuse.g + x.diffuse.b + x.emissive.r + x.emissive.g +
                   x.emissive.b;
        };
        if (n <= 5) {
            EXPECT_LE(body, 0.37f) << "model " << n << " crowds its neighbours";
            EXPECT_GE(bodyLow, tileTop) << "model " << n << " sinks into its tile";
            EXPECT_LT(light(m.materials[1]), 0.3f) << "model " << n;
        } else {
            EXPECT_GT(light(m.materials[0]), 5.5f) << "model " << n << " is not white-hot";
            EXPECT_GT(light(m.materials[1]), 2.0f) << "model " << n;
        }
    }
}

// A colour as seen with a colour-vision deficiency (the simulation matrices of Machado et al.
// at full severity, on linear RGB), in CIE L*a*b*.
std::array<double, 3> SeenLab(const platform::ColorValue& c, int deficiency) {
    static const double kSim[4][9] = {
        {1, 0, 0, 0, 1, 0, 0, 0, 1},
        {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116,
         1.051998}, // protanopia
        {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940,
         0.968881}, // deuteranopia
        {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367,
         0.303900}, // tritanopia
    };
    auto lin = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    double in[3] = {lin(c.r), lin(c.g), lin(c.b)}, rgb[3];
    const double* m = kSim[deficiency];
    for (int i = 0; i < 3; ++i)
        rgb[i] =
            std::clamp(m[3 * i] * in[0] + m[3 * i + 1] * in[1] + m[3 * i + 2] * in[2], 0.0, 1.0);
    double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047,
           y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2],
           z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

TEST_F(Models, KindColoursStayApartForCommonColourVisionDeficiencies) {
    // Normal vision, protanopia, deuteranopia and tritanopia: every two kinds at least 20
    // units apart in L*a*b* (about four times a difference one notices side by side).
    for (int d = 0; d < 4; ++d)
        for (int a = 1; a <= 5; ++a)
            for (int b = a + 1; b <= 5; ++b) {
                auto la = SeenLab(Parse(a).materials[0].diffuse, d),
                     lb = SeenLab(Parse(b).materials[0].diffuse, d);
                double e = std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
                EXPECT_GT(e, 20.0) << "kinds " << a << " and " << b << " with deficiency " << d;
            }
}

// How far apart the kinds' colours are is the colour-vision test's; here, their shapes.
TEST_F(Models, KindsDifferInShapeAndVanishingKeepsTheShapeBrighter) {
    for (int a = 1; a <= 5; ++a)
        for (int b = a + 1; b <= 5; ++b)
            EXPECT_NE(Parse(a).mesh.indices.size(), Parse(b).mesh.indices.size())
                << "kinds " << a << " and " << b << " look alike";
    for (int k = 1; k <= 5; ++k) {
        XModel block = Parse(k), flash = Parse(k + 8);
        EXPECT_EQ(block.mesh.indices.size(), flash.mesh.indices.size()) << "kind " << k;
        auto sum = [](const platform::ColorValue& c) { return c.r + c.g + c.b; };
        EXPECT_GT(sum(flash.materials[0].diffuse), sum(block.materials[0].diffuse));
        EXPECT_GT(sum(flash.materials[0].emissive), sum(block.materials[0].emissive));
    }
}

} // namespace
} // namespace assets
