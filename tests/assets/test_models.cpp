// The generated block models as the game's .x reader sees them.
#include <gtest/gtest.h>

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
    const size_t materials[14] = {0, 1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 1, 1, 1};
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

TEST_F(Models, NormalsPointOutOfTheBlock) {
    // Inverted normals turn a lit face black; every face of these shapes looks away from the
    // centre.
    for (int n = 1; n <= 13; ++n) {
        XModel m = Parse(n);
        const auto& v = m.mesh.vertices;
        for (size_t i = 0; i + 2 < m.mesh.indices.size(); i += 3) {
            const auto &a = v[m.mesh.indices[i]], &b = v[m.mesh.indices[i + 1]],
                       &c = v[m.mesh.indices[i + 2]];
            float cx = a.x + b.x + c.x, cy = a.y + b.y + c.y, cz = a.z + b.z + c.z;
            float nx = a.nx + b.nx + c.nx, ny = a.ny + b.ny + c.ny, nz = a.nz + b.nz + c.nz;
            ASSERT_GT(cx * nx + cy * ny + cz * nz, 0.0f) << "model " << n << " triangle " << i / 3;
            ASSERT_NEAR(a.nx * a.nx + a.ny * a.ny + a.nz * a.nz, 1.0f, 1e-3f) << "model " << n;
        }
    }
}

TEST_F(Models, KindsDifferInColourAndShapeAndVanishingKeepsTheShapeBrighter) {
    for (int a = 1; a <= 5; ++a)
        for (int b = a + 1; b <= 5; ++b) {
            XModel ma = Parse(a), mb = Parse(b);
            const auto &ca = ma.materials[0].diffuse, &cb = mb.materials[0].diffuse;
            float colour = std::fabs(ca.r - cb.r) + std::fabs(ca.g - cb.g) + std::fabs(ca.b - cb.b);
            EXPECT_GT(colour, 0.3f) << "kinds " << a << " and " << b;
            EXPECT_NE(ma.mesh.indices.size(), mb.mesh.indices.size())
                << "kinds " << a << " and " << b << " look alike";
        }
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
