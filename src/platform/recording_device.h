// The recording device: keeps every call it receives (tests, --headless, --trace) and, when it
// wraps another device, passes each call on to it.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics.h"

namespace platform {

enum class CallKind { State, Clear, Mesh, Quad, Sprite, Begin, End, Present, Reset };

struct RecordedVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    Color color = 0xFFFFFFFF;
    float u = 0, v = 0;
};

struct RecordedCall {
    CallKind kind = CallKind::State;
    // State: which setting ("RS_LIGHTING", "TS_WORLD", "material", "texture", "fvf", ...).
    std::string name;
    uint32_t value = 0;      // State: the value set; Clear: the flags
    Color color = 0;         // Clear, Sprite
    float z = 0;             // Clear: depth
    std::string resource;    // Mesh: model path; Quad / Sprite: texture path ("" = none)
    bool hasTexture = false; // Quad / Sprite / Mesh: a texture is bound
    uint32_t subset = 0;     // Mesh
    Material material;       // Mesh / Quad: the material in force
    Matrix matrix;           // Mesh / Quad: world; Sprite: transform; State: the matrix set
    bool lighting = false;   // Mesh / Quad
    bool wireframe = false;  // Mesh / Quad
    bool clip = false;       // Mesh / Quad: clip plane 0 enabled
    bool depthTest = true;   // Mesh / Quad
    uint32_t fvf = 0;        // Quad
    std::vector<RecordedVertex> vertices; // Quad: every vertex of the primitive
    Rect rect;                            // Sprite: source rectangle
    Plane plane;                          // State "clipplane"

    float Alpha() const { return material.Diffuse.a; }
    // One line of the trace.
    std::string ToJson() const;
};

class RecordingDevice : public GraphicsDevice {
  public:
    // `inner` (may be null) receives every call as well; it must outlive this device.
    explicit RecordingDevice(GraphicsDevice* inner = nullptr);

    void SetRecording(bool on) { recording_ = on; }
    bool Recording() const { return recording_; }
    const std::vector<RecordedCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    GraphicsDevice* Inner() const { return inner_; }

    // Number of recorded calls of a kind (and, for meshes, of a model path).
    size_t Count(CallKind kind, const std::string& resource = {}) const;

    // Current state, as a test would ask the device for it.
    uint32_t RenderState(RenderStateType state) const;
    const Matrix& World() const { return world_; }
    const Matrix& View() const { return view_; }
    const Matrix& Projection() const { return projection_; }
    const Material& CurrentMaterial() const { return material_; }
    Texture* CurrentTexture() const { return texture_; }
    const Light& LightAt(uint32_t index) const { return lights_[index < 8 ? index : 0]; }
    bool LightEnabled(uint32_t index) const { return index < 8 && lightOn_[index]; }
    const Plane& ClipPlane() const { return clipPlane_; }

    TexturePtr CreateTexture(int width, int height, std::vector<uint32_t> argb,
                             std::string name) override;
    MeshPtr CreateMesh(MeshData data, std::string name) override;
    HRESULT SetRenderState(RenderStateType state, uint32_t value) override;
    HRESULT SetTextureStageState(uint32_t stage, TextureStageStateType type,
                                 uint32_t value) override;
    HRESULT SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) override;
    HRESULT SetTransform(TransformStateType state, const Matrix& matrix) override;
    HRESULT SetMaterial(const Material& material) override;
    HRESULT SetTexture(uint32_t stage, Texture* texture) override;
    HRESULT SetLight(uint32_t index, const Light& light) override;
    HRESULT LightEnable(uint32_t index, bool enable) override;
    HRESULT SetClipPlane(uint32_t index, const Plane& plane) override;
    HRESULT SetFVF(uint32_t fvf) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(uint32_t count, const Rect* rects, uint32_t flags, Color color, float z,
                  uint32_t stencil) override;
    HRESULT DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override;
    HRESULT DrawSubset(Mesh& mesh, uint32_t subset) override;
    HRESULT DrawSprite(Texture* texture, const Rect& src, const Matrix& transform,
                       Color color) override;
    HRESULT Present() override;
    HRESULT Reset(const PresentParameters& params) override;
    bool ReadBackBuffer(Image& out) override;

    // Makes Present report failure (tests of the lost-device path).
    void FailPresents(bool fail) { failPresent_ = fail; }

  private:
    RecordedCall Draw(CallKind kind) const;
    void Record(RecordedCall call);
    void RecordState(std::string name, uint32_t value);

    GraphicsDevice* inner_;
    bool recording_ = true;
    bool failPresent_ = false;
    std::vector<RecordedCall> calls_;

    uint32_t renderStates_[256] = {};
    Matrix world_, view_, projection_;
    Material material_;
    Texture* texture_ = nullptr;
    Light lights_[8];
    bool lightOn_[8] = {};
    Plane clipPlane_;
    uint32_t fvf_ = 0;
};

// Names used in the trace.
const char* RenderStateName(RenderStateType state);

} // namespace platform
