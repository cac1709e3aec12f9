// The OpenGL 3.3 core graphics device: the game's fixed-function state reproduced by one small
// shader, drawing into a window of 880 x 480 pixels directly, or into an 880 x 480 off-screen
// picture that Present scales into a window of another size.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/system.h"

struct SDL_Window;

namespace platform {

class GlTexture;
class GlMesh;
struct GlLink;
struct GlObjects;
struct GlUniforms;
struct GlApplied;
enum class GlTerm : uint8_t;

class GlDevice final : public GraphicsDevice {
  public:
    static constexpr int kWidth = 880, kHeight = 480;

    // Null when no OpenGL 3.3 core context can be made for the window.
    static std::unique_ptr<GlDevice> Create(std::shared_ptr<SDL_Window> window, DeviceType type);
    ~GlDevice() override;

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

    // Drops the context as a lost device would: Present fails until Reset makes a new one.
    void LoseContext();
    // True when this frame draws straight into the window (it has the picture's size).
    bool DrawsIntoWindow() const { return direct_; }

  private:
    friend class GlTexture;
    friend class GlMesh;

    GlDevice(std::shared_ptr<SDL_Window> window, DeviceType type);
    bool MakeContext();
    void DropContext();
    bool Current();
    void ForgetTexture(const GlTexture& texture, bool deleteName);
    void ForgetMesh(const GlMesh& mesh, bool deleteNames);

    enum class Pass { Scene, Sprite };
    // `opaque`: the draw's every fragment has alpha 1, so blending would change nothing and
    // is left off (the software renderer draws much faster without it).
    void ApplyState(Pass pass, bool opaque);
    bool TextureOpaque(Texture* texture) const;
    void ApplyUniforms(bool colorVertex);
    // Puts the program of the terms in use, building it on first use; false when it fails.
    bool UseProgram(GlTerm rgb, GlTerm alpha);
    // The program of texture stage 0's state with or without a texture.
    bool UseStageProgram(Texture* texture);
    void BindTexture(Texture* texture);
    void BindVertexArray(unsigned vao);
    void Pace();
    // The colour buffer of the window when its framebuffer draws exactly as the off-screen
    // picture does, else 0.
    unsigned WindowHoldsThePicture();
    // Makes the off-screen picture on first use; false when the context cannot.
    bool MakePictureTarget();
    // Binds this frame's target: the window when it has the picture's size, else the picture.
    void BindTarget();

    std::shared_ptr<SDL_Window> window_;
    DeviceType type_;
    void* context_ = nullptr;
    std::shared_ptr<GlLink> link_;
    std::unique_ptr<GlObjects> gl_;      // the objects of the current context
    std::unique_ptr<GlUniforms> loc_;    // the program's uniform locations
    std::unique_ptr<GlApplied> applied_; // the GL state last set, to skip redundant calls
    bool inScene_ = false;
    bool canQueryReset_ = false; // the context reports its own loss
    unsigned windowBuffer_ = 0;  // see WindowHoldsThePicture
    bool direct_ = false;        // this frame draws into the window
    FrameSlots slots_;

    // The state the game set.
    std::array<uint32_t, 256> renderStates_{};
    uint32_t colorOp_ = TOP_MODULATE, colorArg1_ = TA_TEXTURE, colorArg2_ = TA_CURRENT;
    uint32_t alphaOp_ = TOP_SELECTARG1, alphaArg1_ = TA_TEXTURE, alphaArg2_ = TA_CURRENT;
    uint32_t minFilter_ = TEXF_POINT, magFilter_ = TEXF_POINT, mipFilter_ = TEXF_NONE;
    Matrix world_, view_, projection_;
    Material material_;
    Light light_;
    bool lightOn_ = false;
    Plane clipPlane_;
    uint32_t fvf_ = 0;
    Texture* texture_ = nullptr;
    uint32_t dirty_ = ~0u; // uniform groups to upload before the next scene draw
    bool samplerDirty_ = true;
};

} // namespace platform
