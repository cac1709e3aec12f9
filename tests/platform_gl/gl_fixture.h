// A real SDL window and OpenGL device with the game's fixed render state, for picture tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "media/frame.h"
#include "platform/d3dmath.h"
#include "platform/graphics.h"
#include "platform/sdl/sdl_backend.h"

namespace gltest {

using namespace platform;

constexpr Color kBlue = kClearColor;

struct ColorVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};

struct Pixel {
    int x, y;
};

// Where the standard camera shows a world point (picture pixels, 0, 0 top left).
inline Pixel ToScreen(float x, float y, float z = 0) {
    const Matrix m = StandardView() * StandardProjection();
    float cx = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    float cy = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    float cw = x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3];
    return {static_cast<int>((cx / cw + 1) * 440), static_cast<int>((1 - cy / cw) * 240)};
}

// A square of half-size `half` in the plane z = 0, one subset, every normal `n`.
inline MeshData Square(float half, Vector3 n = {0, 0, -1}) {
    MeshData d;
    d.vertices = {{-half, half, 0, n.x, n.y, n.z, 0, 0},
                  {half, half, 0, n.x, n.y, n.z, 1, 0},
                  {half, -half, 0, n.x, n.y, n.z, 1, 1},
                  {-half, -half, 0, n.x, n.y, n.z, 0, 1}};
    d.indices = {0, 1, 2, 0, 2, 3};
    d.subsets = {{0, 6}};
    return d;
}

inline Material Lit(ColorValue diffuse, ColorValue emissive = {}) {
    Material m;
    m.Diffuse = m.Ambient = diffuse;
    m.Emissive = emissive;
    return m;
}

class GlDeviceTest : public ::testing::Test {
  protected:
    // The game's render state, light and camera, and a frame begun on the blue clear colour.
    void SetUp() override {
        backend_ = CreateSdlBackend();
        window_ = backend_->CreateMainWindow("Tessarune test", 880, 480);
        if (!window_) GTEST_SKIP() << "no SDL video driver (set SDL_VIDEODRIVER=offscreen)";
        if (!backend_->CreateGraphics()) GTEST_SKIP() << "no OpenGL library";
        PresentParameters params;
        for (DeviceType type :
             {DeviceType::HardwareVertexProcessing, DeviceType::SoftwareVertexProcessing})
            if (!device_) device_ = backend_->CreateDevice(*window_, type, params);
        if (!device_) GTEST_SKIP() << "no OpenGL 3.3 core context";
        SetFixedRenderState(*device_);
        BeginStandardFrame(*device_);
        device_->SetTransform(TS_WORLD, Identity());
    }

    void TearDown() override {
        device_.reset();
        if (backend_) backend_->ReleaseGraphics();
        window_.reset();
        backend_.reset();
    }

    // Draws a mesh at a place with a material (lighting as currently set).
    void DrawMesh(Mesh& mesh, const Matrix& world, const Material& material) {
        device_->SetTransform(TS_WORLD, world);
        device_->SetMaterial(material);
        ASSERT_EQ(device_->DrawSubset(mesh, 0), S_OK);
    }

    // An unlit coloured rectangle from (l, t) to (r, b) at depth z, as a triangle fan; texture
    // coordinates from 0 to `u` across and 0 to 1 down.
    void DrawRect(float l, float t, float r, float b, float z, uint32_t color, float u = 1) {
        const ColorVertex v[4] = {{l, t, z, color, 0, 0},
                                  {r, t, z, color, u, 0},
                                  {r, b, z, color, u, 1},
                                  {l, b, z, color, 0, 1}};
        device_->SetRenderState(RS_LIGHTING, 0);
        device_->SetFVF(FVF_XYZ | FVF_DIFFUSE | FVF_TEX1);
        ASSERT_EQ(device_->DrawPrimitiveUP(PT_TRIANGLEFAN, 2, v, sizeof v[0]), S_OK);
        device_->SetRenderState(RS_LIGHTING, 1);
    }

    Image Picture() {
        Image image;
        EXPECT_TRUE(device_->ReadBackBuffer(image));
        EXPECT_EQ(image.width * 1000 + image.height, 880480);
        return image;
    }

    std::unique_ptr<Backend> backend_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<GraphicsDevice> device_;
};

inline Color At(const Image& image, Pixel p) {
    return image.pixels[static_cast<size_t>(p.y) * image.width + p.x];
}

// Each of r, g, b within `tolerance` of the expected colour.
inline ::testing::AssertionResult Near(Color actual, Color expected, int tolerance = 2) {
    for (int shift : {16, 8, 0})
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

} // namespace gltest
