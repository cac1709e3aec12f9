// The OpenGL device drawn for real and read back: placement, lighting, sprites, state.
#include <algorithm>
#include <chrono>

#include "gl_fixture.h"
#include "platform/sdl/gl_device.h"

namespace gltest {
namespace {

constexpr Color Rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<Color>(r << 16 | g << 8 | b);
}

// The light (10, -10, 10) on a face turned to the camera: cos = 1 / sqrt(3), 147 of 255.
constexpr int kFacing = 147;

TEST_F(GlDeviceTest, ClearFillsThePictureAndPresentKeepsIt) {
    device_->EndScene();
    ASSERT_EQ(device_->Present(), S_OK);
    Image image = Picture();
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), kBlue), 880 * 480);
}

// The picture is read back top row first and not mirrored: +x right, +y up.
TEST_F(GlDeviceTest, LitMeshAppearsWhereTheCameraPutsItNotMirrored) {
    MeshPtr square = device_->CreateMesh(Square(0.5f), "square");
    ASSERT_TRUE(square);
    EXPECT_TRUE(square->data.vertices.empty()) << "vertices stay on the GPU only";
    DrawMesh(*square, Translation(5, 0, 0), Lit({1, 0.5f, 0, 1}, {0, 0, 0.25f, 0}));
    DrawMesh(*square, Translation(0, 3, 0), Lit({0, 1, 0, 1}));
    Image image = Picture();
    EXPECT_TRUE(Near(At(image, ToScreen(5, 0)), Rgb(kFacing, kFacing / 2, 64)));
    EXPECT_EQ(At(image, ToScreen(-5, 0)), kBlue) << "mirrored left to right";
    EXPECT_TRUE(Near(At(image, ToScreen(0, 3)), Rgb(0, kFacing, 0)));
    EXPECT_EQ(At(image, ToScreen(0, -3)), kBlue) << "mirrored top to bottom";
}

TEST_F(GlDeviceTest, NormalsTurnWithTheInverseTransposeOfTheWorld) {
    // Turned 45 degrees towards the light: cos = 2 / sqrt(6), 208 of 255.
    MeshPtr square = device_->CreateMesh(Square(1), "square");
    DrawMesh(*square, RotationY(3.14159265f / 4) * Translation(-4, 0, 0), Lit({1, 1, 1, 1}));
    // Stretched along x, a slanted normal (0.6, 0, -0.8) turns to (0.35, 0, -0.94): 86 of 255
    // (turned with the world matrix itself it would face away from the light: black).
    MeshPtr slanted = device_->CreateMesh(Square(1, {0.6f, 0, -0.8f}), "slanted");
    DrawMesh(*slanted, Scaling(2, 1, 1) * Translation(4, 0, 0), Lit({1, 1, 1, 1}));
    Image image = Picture();
    EXPECT_TRUE(Near(At(image, ToScreen(-4, 0)), Rgb(208, 208, 208)));
    EXPECT_TRUE(Near(At(image, ToScreen(4, 0)), Rgb(86, 86, 86)));
}

TEST_F(GlDeviceTest, SubsetsDrawOnlyTheirOwnIndices) {
    MeshData two = Square(1), right = Square(1);
    for (auto& v : right.vertices) v.x += 4;
    for (auto i : right.indices) two.indices.push_back(i + 4);
    two.vertices.insert(two.vertices.end(), right.vertices.begin(), right.vertices.end());
    two.indices.insert(two.indices.end(), {99, 0, 1}); // past the vertices: must not be read
    two.subsets = {{0, 6}, {6, 6}, {12, 3}, {12, 6}};  // the last runs past the indices
    MeshPtr mesh = device_->CreateMesh(std::move(two), "two");
    ASSERT_EQ(mesh->SubsetCount(), 4u);
    device_->SetMaterial(Lit({1, 1, 1, 1}));
    EXPECT_EQ(device_->DrawSubset(*mesh, 1), S_OK);
    EXPECT_EQ(device_->DrawSubset(*mesh, 2), S_OK);
    EXPECT_EQ(device_->DrawSubset(*mesh, 3), E_INVALIDARG);
    EXPECT_EQ(device_->DrawSubset(*mesh, 4), E_INVALIDARG);
    Image image = Picture();
    EXPECT_EQ(At(image, ToScreen(0, 0)), kBlue);
    EXPECT_TRUE(Near(At(image, ToScreen(4, 0)), Rgb(kFacing, kFacing, kFacing)));
}

TEST_F(GlDeviceTest, DepthTestNearPlaneAndDepthOnlyClear) {
    // A quarter unit before the near plane: depth -1/3 of the range, which GL would keep
    // without the remap to its own range.
    DrawRect(-1, 1, 1, -1, -19.25f, 0xFFFF0000);
    DrawRect(3, 2, 5, -2, 0, 0xFFFF0000);
    DrawRect(3, 1, 6, -1, 5, 0xFF00FF00); // behind the red one
    Image image = Picture();
    EXPECT_EQ(At(image, {440, 240}), kBlue);
    EXPECT_EQ(At(image, ToScreen(4, 0)), 0xFFFF0000);

    device_->Clear(0, nullptr, CLEAR_ZBUFFER, 0, 1.0f, 0);
    EXPECT_EQ(At(Picture(), ToScreen(4, 0)), 0xFFFF0000) << "a depth-only clear keeps the colours";
    DrawRect(3, 1, 6, -1, 5, 0xFF00FF00);
    EXPECT_EQ(At(Picture(), ToScreen(4, 0)), 0xFF00FF00);

    // Cleared rectangles leave the rest alone.
    Rect corner{0, 0, 100, 100};
    device_->Clear(1, &corner, CLEAR_TARGET, 0xFFFFFF00, 1.0f, 0);
    image = Picture();
    EXPECT_EQ(At(image, {50, 10}), 0xFFFFFF00);
    EXPECT_EQ(At(image, {150, 10}), kBlue);
    EXPECT_EQ(At(image, {50, 420}), kBlue) << "the rectangle counts from the top";
}

TEST_F(GlDeviceTest, WireframeDrawsLinesNotAFace) {
    device_->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    DrawRect(-6, 4, 6, -4, 0, 0xFFFF0000);
    Image image = Picture();
    auto red = std::count(image.pixels.begin(), image.pixels.end(), 0xFFFF0000);
    EXPECT_EQ(At(image, ToScreen(-3, -1)), kBlue);
    EXPECT_TRUE(red > 500 && red < 5000) << red << ": four edges and a diagonal of a face of "
                                         << "about 130000 pixels";
    device_->SetRenderState(RS_FILLMODE, FILL_SOLID);
    DrawRect(-6, 4, 6, -4, 0, 0xFFFF0000);
    EXPECT_EQ(At(Picture(), ToScreen(-3, -1)), 0xFFFF0000);
}

TEST_F(GlDeviceTest, ClipPlaneRemovesThePartBelowItInWorldSpace) {
    Plane plane;
    Vector3 point{0, 0, 0}, normal{0, 1, 0};
    device_->SetClipPlane(0, *PlaneFromPointNormal(&plane, &point, &normal));
    device_->SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    device_->SetTransform(TS_WORLD, Translation(0, -2, 0)); // the quad spans world y -5 .. 1
    DrawRect(-3, 3, 3, -3, 0, 0xFFFF0000);
    Image image = Picture();
    EXPECT_EQ(At(image, ToScreen(0, 0.5f)), 0xFFFF0000);
    EXPECT_EQ(At(image, ToScreen(0, -0.5f)), kBlue);
    device_->SetRenderState(RS_CLIPPLANEENABLE, 0);
    DrawRect(-3, 3, 3, -3, 0, 0xFF00FF00);
    EXPECT_EQ(At(Picture(), ToScreen(0, -0.5f)), 0xFF00FF00);
}

TEST_F(GlDeviceTest, HalfAlphaBlendsOverWhatIsBehind) {
    MeshPtr square = device_->CreateMesh(Square(1), "square");
    DrawMesh(*square, Identity(), Lit({0, 0, 0, 0.5f}, {1, 0, 0, 0}));
    DrawRect(3, 1, 5, -1, 0, 0x80FF0000);
    Image image = Picture();
    EXPECT_TRUE(Near(At(image, ToScreen(0, 0)), Rgb(128, 0, 127)));
    EXPECT_TRUE(Near(At(image, ToScreen(4, 0)), Rgb(128, 0, 127)));
}

TEST_F(GlDeviceTest, TextureModulatesAndItsTransparentTexelsShowWhatIsBehind) {
    // Top row red and clear, bottom row green and clear: not flipped, not mirrored.
    TexturePtr texture =
        device_->CreateTexture(2, 2, {0xFFFF0000, 0x00000000, 0xFF00FF00, 0x00FFFFFF}, "t");
    ASSERT_TRUE(texture);
    EXPECT_TRUE(texture->pixels.empty());
    device_->SetSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    device_->SetSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    device_->SetTexture(0, texture.get());
    DrawRect(-4, 2, 4, -2, 0, 0xFFFFFFFF);
    // Texture times the vertex colour: green through a yellow vertex colour stays green.
    DrawRect(6, 2, 10, -2, 0, 0xFFFFFF00);
    Image image = Picture();
    const std::pair<Pixel, Color> expected[] = {
        {ToScreen(-2, 1), 0xFFFF0000}, {ToScreen(2, 1), kBlue},      {ToScreen(-2, -1), 0xFF00FF00},
        {ToScreen(2, -1), kBlue},      {ToScreen(7, 1), 0xFFFF0000}, {ToScreen(7, -1), 0xFF00FF00}};
    for (const auto& [p, c] : expected) EXPECT_EQ(At(image, p), c) << p.x << "," << p.y;

    // Released while bound: later draws are untextured, not a dangling texture.
    texture.reset();
    DrawRect(-4, 2, 4, -2, 0, 0xFFFFFFFF);
    EXPECT_EQ(At(Picture(), ToScreen(2, 1)), 0xFFFFFFFF);
}

// Every stage setting has its own program: the colour must follow the operation, a missing
// texture reads white, and a program taken up again gets the state set while others drew.
TEST_F(GlDeviceTest, TextureStageOperationsPickTexelVertexColourOrProduct) {
    TexturePtr texture = device_->CreateTexture(1, 1, {Rgb(128, 128, 255)}, "t");
    const Color yellow = Rgb(255, 255, 0);
    struct Case {
        uint32_t op, arg1, arg2;
        bool textured;
        Color expected;
    };
    const Case cases[] = {{TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, true, Rgb(128, 128, 0)},
                          {TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE, true, Rgb(128, 128, 255)},
                          {TOP_SELECTARG2, TA_TEXTURE, TA_DIFFUSE, true, yellow},
                          {TOP_DISABLE, TA_TEXTURE, TA_DIFFUSE, true, yellow},
                          {TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE, false, 0xFFFFFFFF},
                          {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, false, yellow},
                          {TOP_MODULATE, TA_TEXTURE, TA_TEXTURE, true, Rgb(64, 64, 255)},
                          {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, true, Rgb(128, 128, 0)}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        device_->SetTexture(0, c.textured ? texture.get() : nullptr);
        device_->SetTextureStageState(0, TSS_COLOROP, c.op);
        device_->SetTextureStageState(0, TSS_COLORARG1, c.arg1);
        device_->SetTextureStageState(0, TSS_COLORARG2, c.arg2);
        device_->SetTransform(TS_WORLD, Translation(-8.75f + 2.5f * i, 0, 0));
        DrawRect(-1, 1, 1, -1, 0, yellow);
    }
    Image image = Picture();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(Near(At(image, ToScreen(-8.75f + 2.5f * i, 0)), cases[i].expected)) << i;
}

// A draw whose every fragment is opaque (opaque texture, full vertex, material or sprite alpha)
// skips blending. Its picture must be the very one blending gives, the next translucent draw
// must blend again, and other blend modes must not be skipped.
TEST_F(GlDeviceTest, OpaqueDrawsLookTheSameAsBlendedOnes) {
    // The left half of a 16 x 8 sheet is drawn; one clear texel in the right half, never
    // sampled, keeps the second sheet from counting as opaque.
    std::vector<uint32_t> texels(16 * 8);
    for (uint32_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF000000u | i * 0x20305u;
    TexturePtr opaque = device_->CreateTexture(16, 8, texels, "opaque");
    texels[12] = 0;
    TexturePtr keyed = device_->CreateTexture(16, 8, texels, "keyed");
    MeshData half = Square(3);
    for (auto& v : half.vertices) v.u /= 2;
    MeshPtr square = device_->CreateMesh(std::move(half), "square");
    SpritePtr sprite;
    ASSERT_EQ(CreateSprite(*device_, sprite), S_OK);
    auto draw = [&](Texture* sheet) {
        device_->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, kBlue, 1.0f, 0);
        device_->SetTexture(0, sheet);
        device_->SetTransform(TS_WORLD, Identity());
        DrawRect(-10, 3, -4, -3, 0, 0xFFFFFFFF, 0.5f);
        DrawMesh(*square, Translation(3, 0, 0), Lit({1, 1, 1, 1}, {0.3f, 0.3f, 0.3f, 0}));
        sprite->Begin(SPRITE_ALPHABLEND);
        sprite->SetTransform(Scaling(8, 8, 1) * Translation(700, 50, 0));
        Rect left{0, 0, 8, 8};
        sprite->Draw(sheet, &left, nullptr, nullptr, 0xFFFFFFFF);
        sprite->End();
        return Picture();
    };
    Image blended = draw(keyed.get()), skipped = draw(opaque.get());
    Color under = At(skipped, ToScreen(-7, 0));
    EXPECT_EQ(under, At(blended, ToScreen(-7, 0)));
    EXPECT_NE(under, kBlue);
    EXPECT_TRUE(skipped.pixels == blended.pixels) << "the opaque draws changed the picture";

    // Adding blend right after: an opaque red draw over blue still adds up to magenta.
    device_->SetTexture(0, nullptr);
    device_->SetTransform(TS_WORLD, Identity());
    device_->SetRenderState(RS_SRCBLEND, BLEND_ONE);
    device_->SetRenderState(RS_DESTBLEND, BLEND_ONE);
    DrawRect(4, 3, 10, -3, 0, 0xFFFF0000);
    EXPECT_EQ(At(Picture(), ToScreen(7, 0)), 0xFFFF00FFu);
    // Translucent again: blended over the opaque fan.
    device_->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device_->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    DrawRect(-10, 3, -4, -3, 0, 0x80FF0000);
    EXPECT_TRUE(Near(At(Picture(), ToScreen(-7, 0)),
                     0xFF000000u | (255 + ((under >> 16) & 0xFF)) / 2 << 16 |
                         ((under >> 8) & 0xFF) / 2 << 8 | (under & 0xFF) / 2));
}

// A window of the picture's size is drawn into directly; any other size gets the picture from
// the off-screen target, scaled. Both give the same picture of lit and translucent meshes, a
// keyed texture, wireframe, a depth-only clear and a sprite, but for pixels on the diagonal
// two triangles share: the window's rows are stored top down, the target's bottom up, so the
// rasteriser gives such a pixel to the other triangle, whose interpolated texture coordinate
// differs in the last bits.
TEST_F(GlDeviceTest, WindowOfThePictureSizeDrawsTheSamePictureAsTheScaledTarget) {
    auto* gl = dynamic_cast<GlDevice*>(device_.get());
    ASSERT_TRUE(gl);
    std::vector<uint32_t> texels(8 * 8);
    for (uint32_t i = 0; i < texels.size(); ++i) texels[i] = i % 5 ? 0xFF103050u * i : 0;
    TexturePtr texture = device_->CreateTexture(8, 8, texels, "keyed");
    MeshPtr square = device_->CreateMesh(Square(2), "square");
    SpritePtr sprite;
    ASSERT_EQ(CreateSprite(*device_, sprite), S_OK);
    auto frame = [&] {
        BeginStandardFrame(*device_);
        DrawMesh(*square, RotationY(0.5f) * Translation(-6, 1, 2), Lit({1, 0.5f, 0.2f, 1}));
        DrawMesh(*square, Translation(-5, 0, 0), Lit({0, 0.4f, 1, 0.5f}, {0.2f, 0, 0, 0}));
        device_->SetTexture(0, texture.get());
        DrawRect(0, 4, 8, -4, 1, 0xFFFFFFFF);
        device_->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
        DrawMesh(*square, Translation(9, 3, 0), Lit({1, 1, 1, 1}));
        device_->SetRenderState(RS_FILLMODE, FILL_SOLID);
        device_->Clear(0, nullptr, CLEAR_ZBUFFER, 0, 1.0f, 0);
        DrawRect(2, 2, 12, -6, 5, 0x80FFFFFF);
        device_->SetTexture(0, nullptr);
        sprite->Begin(SPRITE_ALPHABLEND);
        sprite->SetTransform(Scaling(3, 2, 1) * Translation(40.5f, 30, 0));
        sprite->Draw(texture.get(), nullptr, nullptr, nullptr, 0xFFFFFFFF);
        sprite->End();
        Image picture = Picture();
        device_->EndScene();
        EXPECT_EQ(device_->Present(), S_OK);
        return picture;
    };
    device_->EndScene();
    Image direct = frame();
    EXPECT_TRUE(gl->DrawsIntoWindow()) << "an 880 x 480 window of 8-bit colour and 24-bit depth";
    window_->SetClientSize(1000, 600);
    Image scaled = frame();
    EXPECT_FALSE(gl->DrawsIntoWindow());
    EXPECT_NE(std::count(direct.pixels.begin(), direct.pixels.end(), kBlue), 880 * 480);
    size_t differ = 0;
    for (size_t i = 0; i < direct.pixels.size(); ++i)
        differ += direct.pixels[i] != scaled.pixels[i];
    EXPECT_LE(differ, direct.pixels.size() / 1000) << "the two targets draw differently";
    window_->SetClientSize(880, 480);
    EXPECT_TRUE(frame().pixels == direct.pixels) << "back to the window";
    EXPECT_TRUE(gl->DrawsIntoWindow());
}

class SpriteTest : public GlDeviceTest {
  protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        if (IsSkipped()) return;
        for (int i = 0; i < 15; ++i) texels_.push_back(0xFF000000u | (0x10 * i) << 16 | 0x3377);
        texels_.back() = 0; // the bottom right texel is clear
        texture_ = device_->CreateTexture(5, 3, texels_, "sheet");
        ASSERT_EQ(CreateSprite(*device_, sprite_), S_OK);
    }
    void Draw(const Rect* src, const Matrix& transform, Color color = 0xFFFFFFFF) {
        sprite_->Begin(SPRITE_ALPHABLEND);
        sprite_->SetTransform(transform);
        ASSERT_EQ(sprite_->Draw(texture_.get(), src, nullptr, nullptr, color), S_OK);
        sprite_->End();
    }
    // What shows of a texel: its colour, or the blue behind a clear one.
    Color Texel(int x, int y) const { return texels_[y * 5 + x] ? texels_[y * 5 + x] : kBlue; }

    std::vector<uint32_t> texels_;
    TexturePtr texture_;
    SpritePtr sprite_;
};

TEST_F(SpriteTest, SpriteAtAnIntegerPositionReproducesItsTexelsExactly) {
    Draw(nullptr, Translation(100, 50, 0));
    Rect inner{1, 1, 4, 3};
    Draw(&inner, Translation(300, 200, 0));
    Draw(nullptr, Scaling(3, 3, 1) * Translation(500, 300, 0));
    sprite_->Begin(SPRITE_ALPHABLEND); // no texture: nothing drawn at the origin
    sprite_->SetTransform(Identity());
    EXPECT_EQ(sprite_->Draw(nullptr, &inner, nullptr, nullptr, 0xFFFFFFFF), S_OK);
    sprite_->End();
    Image image = Picture();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(At(image, {100 + x, 50 + y}), Texel(x, y)) << x << "," << y;
            EXPECT_EQ(At(image, {500 + 3 * x + 1, 300 + 3 * y + 1}), Texel(x, y));
            if (x < 3 && y < 2) {
                EXPECT_EQ(At(image, {300 + x, 200 + y}), Texel(x + 1, y + 1));
            }
        }
    for (Pixel p : {Pixel{99, 50}, Pixel{105, 50}, Pixel{100, 49}, Pixel{100, 53}, Pixel{303, 200},
                    Pixel{0, 0}})
        EXPECT_EQ(At(image, p), kBlue) << p.x << "," << p.y;
}

TEST_F(SpriteTest, SpriteIgnoresDepthClipAndLightingAndLeavesThe3dStateAlone) {
    // A small green square close to the eye: nearer than any depth a sprite could have.
    MeshPtr near = device_->CreateMesh(Square(0.3f), "near");
    DrawMesh(*near, Translation(0, 0, -18.5f), Lit({0, 0, 0, 1}, {0, 1, 0, 0}));
    Plane nothing{0, 1, 0, -100}; // keeps y >= 100 only
    device_->SetClipPlane(0, nothing);
    device_->SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    device_->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    Draw(nullptr, Translation(440, 240, 0), 0xFF00FFFF); // over the square, red taken out
    Draw(nullptr, Translation(560, 240, 0));             // where the far square comes next
    device_->SetRenderState(RS_CLIPPLANEENABLE, 0);
    device_->SetRenderState(RS_FILLMODE, FILL_SOLID);
    MeshPtr far = device_->CreateMesh(Square(8), "far");
    DrawMesh(*far, Translation(0, 0, 5), Lit({1, 0, 0, 1}));
    Image image = Picture();
    EXPECT_EQ(At(image, {443, 241}), Texel(3, 1) & 0xFF00FFFF) << "sprite on top, filled";
    EXPECT_EQ(At(image, {430, 240}), Rgb(0, 255, 0)) << "depth test still on";
    EXPECT_TRUE(Near(At(image, {560, 240}), Rgb(kFacing, 0, 0))) << "sprites write no depth";
    EXPECT_TRUE(Near(At(image, ToScreen(-6, 0, 5)), Rgb(kFacing, 0, 0))) << "still lit";
}

TEST_F(GlDeviceTest, LostContextFailsPresentUntilReset) {
    TexturePtr old = device_->CreateTexture(1, 1, {0xFFFF0000}, "old");
    MeshPtr oldMesh = device_->CreateMesh(Square(1), "old");
    auto* gl = dynamic_cast<GlDevice*>(device_.get());
    ASSERT_TRUE(gl);
    gl->LoseContext();
    device_->EndScene();
    EXPECT_NE(device_->Present(), S_OK);
    EXPECT_EQ(device_->Reset({}), S_OK);
    EXPECT_EQ(device_->Present(), S_OK);
    EXPECT_EQ(device_->Reset({}), S_OK) << "nothing lost: nothing to do";

    BeginStandardFrame(*device_);
    device_->SetTexture(0, old.get()); // from the lost context: drawn untextured
    DrawRect(-1, 1, 1, -1, 0, 0xFFFFFFFF);
    EXPECT_EQ(device_->DrawSubset(*oldMesh, 0), S_OK);
    EXPECT_EQ(At(Picture(), ToScreen(0, 0)), 0xFFFFFFFF);
}

TEST_F(GlDeviceTest, ResourcesAndWindowMayBeReleasedInAnyOrder) {
    TexturePtr texture = device_->CreateTexture(1, 1, {0xFFFF0000}, "t");
    MeshPtr mesh = device_->CreateMesh(Square(1), "m");
    window_.reset(); // the device keeps drawing into its picture
    DrawRect(-1, 1, 1, -1, 0, 0xFF00FF00);
    EXPECT_EQ(At(Picture(), ToScreen(0, 0)), 0xFF00FF00);
    device_.reset();
}

TEST_F(GlDeviceTest, PresentPacesToSixtyFramesASecond) {
    device_->EndScene();
    device_->Present();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 6; ++i) ASSERT_EQ(device_->Present(), S_OK);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(6 * 16666));
}

} // namespace
} // namespace gltest
