// Runs of model draws the OpenGL device gathers into one instanced draw: the picture must be
// the very one the draws give one by one.
#include <algorithm>

#include "gl_fixture.h"
#include "platform/sdl/gl_device.h"

namespace gltest {
namespace {

// A block as the game's models are made: a body of two subsets (three faces each), and a tile
// of a third subset that reuses the front face's vertices (drawn again over it at equal depth,
// so the order of the draws decides what shows).
MeshData Block() {
    MeshData d;
    const float h = 0.4f;
    auto face = [&](Vector3 n, Vector3 u, Vector3 v) {
        auto at = [&](float a, float b) {
            return MeshData::Vertex{h * (n.x + a * u.x + b * v.x),
                                    h * (n.y + a * u.y + b * v.y),
                                    h * (n.z + a * u.z + b * v.z),
                                    n.x,
                                    n.y,
                                    n.z,
                                    0,
                                    0};
        };
        auto first = static_cast<uint32_t>(d.vertices.size());
        for (auto [a, b] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}})
            d.vertices.push_back(at(static_cast<float>(a), static_cast<float>(b)));
        for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) d.indices.push_back(first + i);
    };
    face({0, 0, -1}, {1, 0, 0}, {0, 1, 0});                 // front
    face({0, 1, 0}, {1, 0, 0}, {0, 0, 1});                  // top
    face({-1, 0, 0}, {0, 0, 1}, {0, 1, 0});                 // left
    face({1, 0, 0}, {0, 0, 1}, {0, 1, 0});                  // right
    face({0, -1, 0}, {1, 0, 0}, {0, 0, 1});                 // bottom
    face({0, 0, 1}, {1, 0, 0}, {0, 1, 0});                  // back
    for (uint32_t i : {0u, 1u, 2u}) d.indices.push_back(i); // the tile: half the front again
    d.subsets = {{0, 18}, {18, 18}, {36, 3}};
    return d;
}

class GlBatchTest : public GlDeviceTest {
  protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        if (IsSkipped()) return;
        gl_ = dynamic_cast<GlDevice*>(device_.get());
        ASSERT_TRUE(gl_);
        block_ = device_->CreateMesh(Block(), "block");
        other_ = device_->CreateMesh(Block(), "other");
        std::vector<uint32_t> texels(4 * 4);
        for (uint32_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF204060u + i * 0x0B0907u;
        texture_ = device_->CreateTexture(4, 4, texels, "tile");
        ASSERT_EQ(CreateSprite(*device_, sprite_), S_OK);
    }

    // A model draw as the game makes it: per subset its material (alpha replaced) and texture.
    void Model(Mesh& mesh, const Matrix& world, float alpha, int hue, uint32_t subsets = 3) {
        device_->SetTransform(TS_WORLD, world);
        for (uint32_t s = 0; s < subsets; ++s) {
            float k = static_cast<float>((hue * 7 + static_cast<int>(s) * 3) % 11) / 10;
            Material m = Lit({k, 1 - k, 0.5f, alpha}, {0.2f * k, 0.1f, 0.3f, 0});
            device_->SetMaterial(m);
            device_->SetTexture(0, s == 2 && hue == 5 ? texture_.get() : nullptr);
            ASSERT_EQ(device_->DrawSubset(mesh, s), S_OK);
        }
    }

    // Boards of blocks drawn in passes as the game draws them, with every kind of thing that
    // must end a run between them.
    Image Scene() {
        device_->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, kBlue, 1.0f, 0);
        auto cell = [](int x, int y, int z) {
            return RotationY(0.3f) *
                   Translation(-7.5f + 1.1f * x, -6 + 1.0f * y, -2 + 1.2f * z + 0.01f * x);
        };
        int n = 0;
        for (int x = 0; x < 6; ++x) // the solid pass: more blocks than one instanced draw holds
            for (int y = 0; y < 12; ++y)
                for (int z = 0; z < 5; ++z)
                    if ((x + y + z) % 5) Model(x % 3 ? *block_ : *other_, cell(x, y, z), 1, n++);
        // Half a model, then the same world for one subset and a new one in the middle of a
        // model: each can only be drawn as it comes.
        Model(*block_, cell(7, 3, 0), 1, 1, 1);
        Model(*block_, cell(7, 4, 0), 1, 2, 2);
        device_->SetTransform(TS_WORLD, cell(7, 5, 0));
        device_->SetMaterial(Lit({1, 1, 0, 1}));
        device_->DrawSubset(*block_, 0);
        device_->SetTransform(TS_WORLD, cell(7, 6, 0));
        device_->DrawSubset(*block_, 1);
        device_->DrawSubset(*block_, 2);
        device_->DrawSubset(*block_, 0); // a subset again without a new world
        device_->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
        for (int y = 0; y < 12; y += 2) Model(*block_, cell(8, y, 1), 1, y);
        device_->SetRenderState(RS_FILLMODE, FILL_SOLID);
        // Ghosts: translucent, blended over what is behind, in order.
        for (int y = 0; y < 12; ++y)
            for (int z = 0; z < 3; ++z)
                Model(*block_, cell(2, y, z) * Translation(0, 0, -3), 0.1f, y);
        device_->SetTransform(TS_WORLD, Identity());
        DrawRect(-2, 1, 2, -1, -4, 0x80FFFF00); // streamed vertices between model draws
        Model(*other_, cell(3, 3, 0) * Translation(0, 0, -4.5f), 0.3f, 5);
        sprite_->Begin(SPRITE_ALPHABLEND);
        sprite_->SetTransform(Scaling(20, 20, 1) * Translation(100, 100, 0));
        sprite_->Draw(texture_.get(), nullptr, nullptr, nullptr, 0xFFFFFFFF);
        sprite_->End();
        Model(*block_, cell(4, 4, 0) * Translation(0, 0, -5), 1, 6);
        device_->Clear(0, nullptr, CLEAR_ZBUFFER, 0, 1.0f, 0);
        Model(*block_, cell(1, 1, 2), 1, 7);
        device_->SetRenderState(RS_LIGHTING, 0);
        Model(*block_, cell(1, 2, 2), 1, 8);
        device_->SetRenderState(RS_LIGHTING, 1);
        Plane plane{0, 1, 0, 0};
        device_->SetClipPlane(0, plane);
        device_->SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
        for (int y = 0; y < 12; ++y) Model(*other_, cell(5, y, 0) * Translation(0, 0, -6), 1, y);
        device_->SetRenderState(RS_CLIPPLANEENABLE, 0);
        // Drawn last, read back with nothing after it.
        Model(*block_, cell(0, 11, 0) * Translation(0, 0, -7), 1, 9);
        return Picture();
    }

    GlDevice* gl_ = nullptr;
    MeshPtr block_, other_;
    TexturePtr texture_;
    SpritePtr sprite_;
};

TEST_F(GlBatchTest, RunsOfModelDrawsGiveThePictureOfSingleDraws) {
    gl_->SetBatching(false);
    Image single = Scene();
    gl_->SetBatching(true);
    device_->EndScene();
    device_->BeginScene();
    Image batched = Scene();
    auto blue = std::count(single.pixels.begin(), single.pixels.end(), kBlue);
    EXPECT_LT(blue, 880 * 480 - 40000) << "the boards cover a good part of the picture";
    size_t differ = 0;
    for (size_t i = 0; i < single.pixels.size(); ++i)
        differ += single.pixels[i] != batched.pixels[i];
    EXPECT_EQ(differ, 0u) << "pixels differ between single and gathered draws";
    EXPECT_LT(gl_->DrawCalls(), 60) << "the runs were not gathered";
}

// A run still waiting when its mesh or texture is released is drawn with them first.
TEST_F(GlBatchTest, ReleasingWhatAWaitingRunUsesDrawsItFirst) {
    device_->SetTexture(0, texture_.get());
    device_->SetMaterial(Lit({1, 1, 1, 1}));
    device_->SetTransform(TS_WORLD, Translation(-3, 0, -10));
    device_->DrawSubset(*block_, 0);
    device_->SetTransform(TS_WORLD, Translation(3, 0, -10));
    device_->DrawSubset(*block_, 0);
    block_.reset();
    texture_.reset();
    Image image = Picture();
    EXPECT_NE(At(image, ToScreen(-3, 0, -10)), kBlue);
    EXPECT_NE(At(image, ToScreen(3, 0, -10)), kBlue);
}

} // namespace
} // namespace gltest
