// The graphics device interface: the vocabulary of the fixed-function device the game was
// designed against. Implemented by the OpenGL device (sdl/) and the recording device.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dmath.h"
#include "platform/types.h"

namespace platform {

// An ARGB picture, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

// A texture. `name` is the path the game loaded it from, exactly as written.
// `pixels` holds the ARGB texels where the device keeps a copy (the recording device does;
// the OpenGL device drops them after upload).
class Texture {
  public:
    Texture(int width, int height, std::string name)
        : width(width), height(height), name(std::move(name)) {
        liveBytes_ += Bytes();
    }
    virtual ~Texture() { liveBytes_ -= Bytes(); }
    // The texels of every texture alive, 4 bytes each (what the renderer holds for the game).
    static int64_t LiveBytes() { return liveBytes_; }
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    const int width, height;
    std::string name;
    std::vector<uint32_t> pixels;

  private:
    int64_t Bytes() const { return width > 0 && height > 0 ? int64_t{width} * height * 4 : 0; }
    inline static std::atomic<int64_t> liveBytes_{0};
};
using TexturePtr = std::unique_ptr<Texture>;

// Geometry of a mesh: triangles, grouped into subsets (one per material, in file order).
struct MeshData {
    struct Vertex {
        float x, y, z;
        float nx, ny, nz;
        float u, v;
    };
    struct Subset {
        uint32_t indexStart = 0, indexCount = 0; // a range of `indices`, 3 per triangle
    };
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<Subset> subsets;
};

// A mesh resident on the device. `data` is kept where the device keeps a copy.
class Mesh {
  public:
    Mesh(MeshData data, std::string name) : data(std::move(data)), name(std::move(name)) {}
    virtual ~Mesh() = default;
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    uint32_t SubsetCount() const { return static_cast<uint32_t>(data.subsets.size()); }

    MeshData data;
    std::string name;
};
using MeshPtr = std::unique_ptr<Mesh>;

enum SwapEffect : uint32_t { SWAPEFFECT_DISCARD = 1, SWAPEFFECT_FLIP = 2, SWAPEFFECT_COPY = 3 };
enum Format : uint32_t { FMT_UNKNOWN = 0, FMT_X8R8G8B8 = 22, FMT_D16 = 80 };
constexpr uint32_t PRESENTFLAG_LOCKABLE_BACKBUFFER = 1;
constexpr uint32_t PRESENT_INTERVAL_DEFAULT = 0;

struct PresentParameters {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    uint32_t BackBufferFormat = 0;
    uint32_t BackBufferCount = 0;
    uint32_t MultiSampleType = 0;
    uint32_t MultiSampleQuality = 0;
    uint32_t SwapEffect = 0;
    void* hDeviceWindow = nullptr;
    int32_t Windowed = 0;
    int32_t EnableAutoDepthStencil = 0;
    uint32_t AutoDepthStencilFormat = 0;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t PresentationInterval = 0;
};

// Contract: one device, used from the game thread only. Render states, transforms, material,
// light, clip plane and texture binding persist until changed. Drawing happens between
// BeginScene and EndScene into an 880 x 480 picture; Present shows it (scaled to the window)
// and paces to at most 60 frames a second. Sprites are drawn in picture pixels, on top, with
// alpha blending, without lighting, depth or clipping, and leave the 3D state untouched.
class GraphicsDevice {
  public:
    virtual ~GraphicsDevice() = default;

    // Resources. A texture's `argb` has width * height texels, rows top to bottom.
    virtual TexturePtr CreateTexture(int width, int height, std::vector<uint32_t> argb,
                                     std::string name) = 0;
    virtual MeshPtr CreateMesh(MeshData data, std::string name) = 0;

    // State.
    virtual HRESULT SetRenderState(RenderStateType state, uint32_t value) = 0;
    virtual HRESULT SetTextureStageState(uint32_t stage, TextureStageStateType type,
                                         uint32_t value) = 0;
    virtual HRESULT SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) = 0;
    virtual HRESULT SetTransform(TransformStateType state, const Matrix& matrix) = 0;
    virtual HRESULT SetMaterial(const Material& material) = 0;
    virtual HRESULT SetTexture(uint32_t stage, Texture* texture) = 0;
    virtual HRESULT SetLight(uint32_t index, const Light& light) = 0;
    virtual HRESULT LightEnable(uint32_t index, bool enable) = 0;
    virtual HRESULT SetClipPlane(uint32_t index, const Plane& plane) = 0;
    virtual HRESULT SetFVF(uint32_t fvf) = 0;

    // Drawing.
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT Clear(uint32_t count, const Rect* rects, uint32_t flags, Color color, float z,
                          uint32_t stencil) = 0;
    // Vertices laid out by the current FVF (position, [normal], [diffuse], [uv]).
    virtual HRESULT DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                    const void* vertices, uint32_t stride) = 0;
    virtual HRESULT DrawSubset(Mesh& mesh, uint32_t subset) = 0;
    // One sprite: the source rectangle `src` of `texture` (already clamped to it), its top-left
    // texel at the picture origin, moved by `transform`, modulated by `color`.
    virtual HRESULT DrawSprite(Texture* texture, const Rect& src, const Matrix& transform,
                               Color color) = 0;
    virtual HRESULT Present() = 0;
    virtual HRESULT Reset(const PresentParameters& params) = 0;

    // The picture drawn since BeginScene, before it is presented (880 x 480); false where the
    // device has no pixels (the recording device).
    virtual bool ReadBackBuffer(Image& out) {
        (void)out;
        return false;
    }
};

constexpr uint32_t SPRITE_ALPHABLEND = 0x10;

// The sprite object: Begin / SetTransform / Draw / End around the device's DrawSprite.
class Sprite {
  public:
    explicit Sprite(GraphicsDevice& device) : device_(device) {}
    HRESULT Begin(uint32_t flags);
    HRESULT SetTransform(const Matrix& transform);
    // `src` null means the whole texture; the rectangle is clamped to the texture.
    // A missing texture is passed on (and recorded) but shows nothing.
    // `center` and `position` offset the picture as usual.
    HRESULT Draw(Texture* texture, const Rect* src, const Vector3* center, const Vector3* position,
                 Color color);
    HRESULT End();
    HRESULT OnResetDevice() { return S_OK; }
    HRESULT OnLostDevice() { return S_OK; }

  private:
    GraphicsDevice& device_;
    Matrix transform_ = platform::Identity();
    bool begun_ = false;
};
using SpritePtr = std::unique_ptr<Sprite>;

HRESULT CreateSprite(GraphicsDevice& device, SpritePtr& out);

// Clamps a source rectangle to a texture of the given size (empty when nothing is left).
Rect ClampRect(const Rect& src, int width, int height);

} // namespace platform
