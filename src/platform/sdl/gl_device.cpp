// The OpenGL 3.3 core graphics device.
#include "platform/sdl/gl_device.h"

#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/d3dmath.h"
#include "platform/sdl/gl_program.h"
#include "platform/sdl/gl_resources.h"
#include "platform/startup.h"
#include "platform/system.h"

namespace platform {

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define TESS_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESS_LEAK_CHECKED 1
#endif
#endif

// Under the leak checker: keeps the OpenGL driver (Mesa's "*_dri.so") mapped until the
// program ends. SDL unloads it at shut-down, and what the driver still holds would then be
// reported as leaked from an unknown module, which no suppression can name.
void KeepDriverLoaded() {
#ifdef TESS_LEAK_CHECKED
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const char* name = info->dlpi_name;
            size_t n = name ? std::strlen(name) : 0;
            if (n > 7 && std::strcmp(name + n - 7, "_dri.so") == 0)
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
#endif
}

// Uniform groups uploaded before a scene draw when the game changed them.
enum Dirty : uint32_t {
    kDirtyWorld = 1,
    kDirtyViewProj = 2,
    kDirtyMaterial = 4,
    kDirtyLight = 8,
    kDirtyClip = 16,
    kDirtyAll = 31,
};

// A plane every point is in front of (distance w = 1).
constexpr Plane kNoClip{0, 0, 0, 1};

GLenum BlendFactor(uint32_t blend) {
    switch (blend) {
    case BLEND_ZERO:
        return GL_ZERO;
    case 3:
        return GL_SRC_COLOR;
    case 4:
        return GL_ONE_MINUS_SRC_COLOR;
    case BLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case BLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case 7:
        return GL_DST_ALPHA;
    case 8:
        return GL_ONE_MINUS_DST_ALPHA;
    case 9:
        return GL_DST_COLOR;
    case 10:
        return GL_ONE_MINUS_DST_COLOR;
    default:
        return GL_ONE;
    }
}

GLint MinFilter(uint32_t min, uint32_t mip) {
    bool linear = min == TEXF_LINEAR;
    if (mip == TEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mip == TEXF_LINEAR) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR : GL_NEAREST;
}

// The inverse of the world matrix's upper 3 x 3 (zero when it has none), row-major: uploaded
// transposed, it turns normals as the inverse transpose does in the row-vector convention.
void NormalMatrix(const Matrix& w, float out[9]) {
    const auto& m = w.m;
    float c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    float c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    float c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    float det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (std::fabs(det) < 1e-20f) {
        std::fill(out, out + 9, 0.0f);
        return;
    }
    float k = 1.0f / det;
    out[0] = c00 * k;
    out[1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * k;
    out[2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * k;
    out[3] = c01 * k;
    out[4] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * k;
    out[5] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * k;
    out[6] = c02 * k;
    out[7] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * k;
    out[8] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * k;
}

// True when the sprite transform only moves by whole pixels.
bool TexelForPixel(const Matrix& t) {
    const auto& m = t.m;
    return m[0][0] == 1.0f && m[0][1] == 0.0f && m[1][0] == 0.0f && m[1][1] == 1.0f &&
           m[0][3] == 0.0f && m[1][3] == 0.0f && m[3][3] == 1.0f &&
           m[3][0] == std::floor(m[3][0]) && m[3][1] == std::floor(m[3][1]);
}

// Picture pixels (0, 0 top left) to clip space, depth in the middle of the range.
Matrix SpriteProjection() {
    Matrix m;
    m.m[0][0] = 2.0f / GlDevice::kWidth;
    m.m[1][1] = -2.0f / GlDevice::kHeight;
    m.m[3][0] = -1.0f;
    m.m[3][1] = 1.0f;
    m.m[3][2] = 0.5f;
    m.m[3][3] = 1.0f;
    return m;
}

void SetInt(GLint location, int& cache, int value) {
    if (cache == value) return;
    glUniform1i(location, value);
    cache = value;
}

void UploadMatrix(GLint location, const Matrix& m) {
    glUniformMatrix4fv(location, 1, GL_FALSE, &m.m[0][0]);
}

void Enable(GLenum cap, int& cache, int on) {
    if (cache == on) return;
    on ? glEnable(cap) : glDisable(cap);
    cache = on;
}

// The vertex layout of a flexible vertex format: offsets in bytes, -1 when absent.
struct FvfLayout {
    int normal = -1, diffuse = -1, uv = -1;
    uint32_t size = 0;
};

bool LayoutOf(uint32_t fvf, FvfLayout& layout) {
    constexpr uint32_t kPositionMask = 0x400E, kSpecular = 0x080;
    if ((fvf & kPositionMask) != FVF_XYZ) return false;
    uint32_t offset = 12;
    if (fvf & FVF_NORMAL) layout.normal = static_cast<int>(offset), offset += 12;
    if (fvf & FVF_DIFFUSE) layout.diffuse = static_cast<int>(offset), offset += 4;
    if (fvf & kSpecular) offset += 4;
    if ((fvf >> 8) & 0xF) layout.uv = static_cast<int>(offset), offset += 8;
    layout.size = offset;
    return true;
}

void Attribute(GLuint slot, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
               int offset) {
    if (offset < 0) {
        glDisableVertexAttribArray(slot);
        return;
    }
    glEnableVertexAttribArray(slot);
    glVertexAttribPointer(slot, size, type, normalized, stride,
                          reinterpret_cast<void*>(static_cast<uintptr_t>(offset)));
}

} // namespace

GlDevice::GlDevice(std::shared_ptr<SDL_Window> window, DeviceType type)
    : window_(std::move(window)), type_(type), link_(std::make_shared<GlLink>()) {
    link_->device = this;
    // The fixed-function device's defaults.
    renderStates_[RS_ZENABLE] = 1;
    renderStates_[RS_ZWRITEENABLE] = 1;
    renderStates_[RS_FILLMODE] = FILL_SOLID;
    renderStates_[RS_SRCBLEND] = BLEND_ONE;
    renderStates_[RS_DESTBLEND] = BLEND_ZERO;
    renderStates_[RS_CULLMODE] = CULL_CCW;
    renderStates_[RS_LIGHTING] = 1;
    world_ = view_ = projection_ = Identity();
}

std::unique_ptr<GlDevice> GlDevice::Create(std::shared_ptr<SDL_Window> window, DeviceType type) {
    if (!window) return nullptr;
    std::unique_ptr<GlDevice> device(new GlDevice(std::move(window), type));
    if (!device->MakeContext()) return nullptr;
    return device;
}

GlDevice::~GlDevice() {
    DropContext();
    link_->device = nullptr;
}

bool GlDevice::MakeContext() {
    // The reference device is Mesa's software renderer (where the driver is not loaded yet).
    if (type_ == DeviceType::Reference) setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL,
                        type_ == DeviceType::HardwareVertexProcessing ? 1 : -1);
    context_ = SDL_GL_CreateContext(window_.get());
    if (!context_) return false;
    MarkStartup("GL context");
    KeepDriverLoaded();
    if (!epoxy_is_desktop_gl() || epoxy_gl_version() < 33) {
        DropContext();
        return false;
    }
    SDL_GL_SetSwapInterval(FramePacing() ? 1 : 0);
    canQueryReset_ = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_KHR_robustness");

    gl_ = std::make_unique<GlObjects>();
    loc_ = std::make_unique<GlUniforms>();
    applied_ = std::make_unique<GlApplied>();
    // The sprites' program, built now so that a context that cannot run it is refused.
    bool built = UseProgram(GlTerm::Modulate, GlTerm::Modulate);

    windowBuffer_ = WindowHoldsThePicture();
    if (!built || (!windowBuffer_ && !MakePictureTarget())) {
        DropContext();
        return false;
    }

    glGenVertexArrays(1, &gl_->streamVao);
    glGenBuffers(1, &gl_->streamVbo);
    glGenSamplers(1, &gl_->sceneSampler);
    glGenSamplers(1, &gl_->spriteSampler);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
        glSamplerParameteri(gl_->spriteSampler, wrap, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(gl_->spriteSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(gl_->spriteSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glGenSamplers(1, &gl_->alignedSpriteSampler);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
        glSamplerParameteri(gl_->alignedSpriteSampler, wrap, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(gl_->alignedSpriteSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(gl_->alignedSpriteSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    // Arrays a vertex format leaves out read these: white, no normal, uv (0, 0).
    glVertexAttrib4f(kAttribColor, 1, 1, 1, 1);
    glVertexAttrib3f(kAttribNormal, 0, 0, 0);
    glVertexAttrib2f(kAttribUv, 0, 0);
    glDepthFunc(GL_LEQUAL);
    BindTarget();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    applied_->depthWrite = 1;
    dirty_ = kDirtyAll;
    samplerDirty_ = true;
    return true;
}

unsigned GlDevice::WindowHoldsThePicture() {
    // Drawn as the off-screen picture is: 8-bit colour without alpha (blending would keep an
    // alpha the picture does not have), one sample, and a depth buffer of at least its 24 bits
    // (X servers offer 32: only surfaces closer than 24 bits can tell apart may then differ).
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint buffer = GL_NONE, samples = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &buffer);
    glGetIntegerv(GL_SAMPLES, &samples);
    GLenum colour = buffer == GL_FRONT || buffer == GL_FRONT_LEFT ? GL_FRONT_LEFT : GL_BACK_LEFT;
    if (buffer == GL_NONE || samples != 0) return 0;
    auto size = [](GLenum attachment, GLenum what) {
        GLint bits = -1;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, what, &bits);
        return bits;
    };
    bool same = size(colour, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE) == 8 &&
                size(colour, GL_FRAMEBUFFER_ATTACHMENT_GREEN_SIZE) == 8 &&
                size(colour, GL_FRAMEBUFFER_ATTACHMENT_BLUE_SIZE) == 8 &&
                size(colour, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE) == 0 &&
                size(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE) >= 24;
    while (glGetError() != GL_NO_ERROR) {
    }
    return same ? colour : 0;
}

bool GlDevice::MakePictureTarget() {
    if (gl_->fbo) return true;
    glGenFramebuffers(1, &gl_->fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, gl_->fbo);
    glGenRenderbuffers(1, &gl_->colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, gl_->colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, kWidth, kHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              gl_->colorBuffer);
    glGenRenderbuffers(1, &gl_->depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, gl_->depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kWidth, kHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              gl_->depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return true;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &gl_->fbo);
    GLuint buffers[] = {gl_->colorBuffer, gl_->depthBuffer};
    glDeleteRenderbuffers(2, buffers);
    gl_->fbo = gl_->colorBuffer = gl_->depthBuffer = 0;
    return false;
}

void GlDevice::BindTarget() {
    // The picture goes straight into the window when the window is its size (no copy to
    // present); a window of any other size gets it scaled from the off-screen picture.
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_.get(), &width, &height);
    bool direct = windowBuffer_ && width == kWidth && height == kHeight;
    if (!direct && !MakePictureTarget()) direct = windowBuffer_ != 0;
    direct_ = direct;
    glBindFramebuffer(GL_FRAMEBUFFER, direct ? 0 : gl_->fbo);
    glViewport(0, 0, kWidth, kHeight);
}

void GlDevice::DropContext() {
    if (!context_) return;
    if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(window_.get(), nullptr);
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    // Textures and meshes of this context are gone with it.
    ++link_->generation;
    texture_ = nullptr;
}

bool GlDevice::Current() {
    if (!context_) return false;
    if (SDL_GL_GetCurrentContext() == context_) return true;
    return SDL_GL_MakeCurrent(window_.get(), context_) == 0;
}

void GlDevice::LoseContext() {
    DropContext();
}

HRESULT GlDevice::SetRenderState(RenderStateType state, uint32_t value) {
    if (state >= renderStates_.size()) return E_INVALIDARG;
    renderStates_[state] = value;
    if (state == RS_AMBIENT) dirty_ |= kDirtyLight;
    if (state == RS_CLIPPLANEENABLE) dirty_ |= kDirtyClip;
    return S_OK;
}

HRESULT GlDevice::SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) {
    if (stage != 0) return S_OK; // only stage 0 is used
    switch (type) {
    case TSS_COLOROP:
        colorOp_ = value;
        break;
    case TSS_COLORARG1:
        colorArg1_ = value;
        break;
    case TSS_COLORARG2:
        colorArg2_ = value;
        break;
    case TSS_ALPHAOP:
        alphaOp_ = value;
        break;
    case TSS_ALPHAARG1:
        alphaArg1_ = value;
        break;
    case TSS_ALPHAARG2:
        alphaArg2_ = value;
        break;
    default:
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT GlDevice::SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) {
    if (sampler != 0) return S_OK;
    switch (type) {
    case SAMP_MAGFILTER:
        magFilter_ = value;
        break;
    case SAMP_MINFILTER:
        minFilter_ = value;
        break;
    case SAMP_MIPFILTER:
        mipFilter_ = value;
        break;
    default:
        return E_INVALIDARG;
    }
    samplerDirty_ = true;
    return S_OK;
}

HRESULT GlDevice::SetTransform(TransformStateType state, const Matrix& matrix) {
    switch (state) {
    case TS_WORLD:
        world_ = matrix;
        dirty_ |= kDirtyWorld;
        return S_OK;
    case TS_VIEW:
        view_ = matrix;
        dirty_ |= kDirtyViewProj;
        return S_OK;
    case TS_PROJECTION:
        projection_ = matrix;
        dirty_ |= kDirtyViewProj;
        return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT GlDevice::SetMaterial(const Material& material) {
    material_ = material;
    dirty_ |= kDirtyMaterial;
    return S_OK;
}

HRESULT GlDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage != 0) return S_OK;
    auto* gl = dynamic_cast<GlTexture*>(texture);
    if (texture && !gl) return E_INVALIDARG;
    texture_ = gl;
    return S_OK;
}

HRESULT GlDevice::SetLight(uint32_t index, const Light& light) {
    if (index != 0) return S_OK; // the game lights with light 0 alone
    light_ = light;
    dirty_ |= kDirtyLight;
    return S_OK;
}

HRESULT GlDevice::LightEnable(uint32_t index, bool enable) {
    if (index != 0) return S_OK;
    lightOn_ = enable;
    dirty_ |= kDirtyLight;
    return S_OK;
}

HRESULT GlDevice::SetClipPlane(uint32_t index, const Plane& plane) {
    if (index >= 6) return E_INVALIDARG;
    if (index != 0) return S_OK; // the game clips with plane 0 alone
    clipPlane_ = plane;
    dirty_ |= kDirtyClip;
    return S_OK;
}

HRESULT GlDevice::SetFVF(uint32_t fvf) {
    fvf_ = fvf;
    return S_OK;
}

HRESULT GlDevice::BeginScene() {
    if (inScene_) return E_FAIL;
    inScene_ = true;
    if (Current()) BindTarget();
    return S_OK;
}

HRESULT GlDevice::EndScene() {
    if (!inScene_) return E_FAIL;
    inScene_ = false;
    return S_OK;
}

HRESULT GlDevice::Clear(uint32_t count, const Rect* rects, uint32_t flags, Color color, float z,
                        uint32_t) {
    if (!Current()) return E_FAIL;
    GLbitfield mask = 0;
    if (flags & CLEAR_TARGET) {
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                     (color & 0xFF) / 255.0f, (color >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & CLEAR_ZBUFFER) {
        // The depth buffer is cleared whatever the depth-write state.
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
        if (applied_->depthWrite != 1) glDepthMask(GL_TRUE), applied_->depthWrite = 1;
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (!mask) return S_OK;
    if (count == 0 || !rects) {
        glClear(mask);
        return S_OK;
    }
    glEnable(GL_SCISSOR_TEST);
    for (uint32_t i = 0; i < count; ++i) {
        Rect r = ClampRect(rects[i], kWidth, kHeight);
        if (r.right <= r.left || r.bottom <= r.top) continue;
        glScissor(r.left, kHeight - r.bottom, r.right - r.left, r.bottom - r.top);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
    return S_OK;
}

bool GlDevice::TextureOpaque(Texture* texture) const {
    auto* t = static_cast<GlTexture*>(texture);
    return !t || !t->Id() || t->opaque;
}

void GlDevice::ApplyState(Pass pass, bool opaque) {
    GlApplied& a = *applied_;
    const bool sprite = pass == Pass::Sprite;
    const auto& rs = renderStates_;

    GLenum src = sprite ? GL_SRC_ALPHA : BlendFactor(rs[RS_SRCBLEND]);
    GLenum dst = sprite ? GL_ONE_MINUS_SRC_ALPHA : BlendFactor(rs[RS_DESTBLEND]);
    bool alphaBlend = src == GL_SRC_ALPHA && dst == GL_ONE_MINUS_SRC_ALPHA;
    int blend = (sprite || rs[RS_ALPHABLENDENABLE] != 0) && !(opaque && alphaBlend);
    Enable(GL_BLEND, a.blend, blend);
    if (blend && (src != a.srcBlend || dst != a.dstBlend)) {
        glBlendFunc(src, dst);
        a.srcBlend = src, a.dstBlend = dst;
    }
    Enable(GL_DEPTH_TEST, a.depthTest, !sprite && rs[RS_ZENABLE] != 0);
    int depthWrite = !sprite && rs[RS_ZWRITEENABLE] != 0;
    if (depthWrite != a.depthWrite) glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
    a.depthWrite = depthWrite;

    GLenum polygon = GL_FILL;
    if (!sprite && rs[RS_FILLMODE] == FILL_WIREFRAME) polygon = GL_LINE;
    if (!sprite && rs[RS_FILLMODE] == FILL_POINT) polygon = GL_POINT;
    if (polygon != a.polygonMode) glPolygonMode(GL_FRONT_AND_BACK, polygon);
    a.polygonMode = polygon;

    // Culling names the winding seen on screen; GL's front face is the one kept.
    uint32_t cull = sprite ? CULL_NONE : rs[RS_CULLMODE];
    Enable(GL_CULL_FACE, a.cull, cull == CULL_CW || cull == CULL_CCW);
    GLenum front = cull == CULL_CW ? GL_CCW : GL_CW;
    if (a.cull && front != a.frontFace) glFrontFace(front), a.frontFace = front;

    Enable(GL_CLIP_DISTANCE0, a.clip, !sprite && (rs[RS_CLIPPLANEENABLE] & CLIPPLANE0) != 0);

    if (!sprite && samplerDirty_) {
        GLint mag = magFilter_ == TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
        glSamplerParameteri(gl_->sceneSampler, GL_TEXTURE_MIN_FILTER,
                            MinFilter(minFilter_, mipFilter_));
        glSamplerParameteri(gl_->sceneSampler, GL_TEXTURE_MAG_FILTER, mag);
        samplerDirty_ = false;
    }
    if (!sprite && a.sampler != gl_->sceneSampler)
        glBindSampler(0, gl_->sceneSampler), a.sampler = gl_->sceneSampler;
}

void GlDevice::ApplyUniforms(bool colorVertex) {
    GlApplied& a = *applied_;
    const GlUniforms& u = *loc_;
    if (a.spritePass) dirty_ |= kDirtyWorld | kDirtyViewProj | kDirtyClip;
    a.spritePass = false;
    if (dirty_ & kDirtyWorld) {
        UploadMatrix(u.world, world_);
        float normal[9];
        NormalMatrix(world_, normal);
        glUniformMatrix3fv(u.normalMatrix, 1, GL_TRUE, normal);
    }
    if (dirty_ & kDirtyViewProj) UploadMatrix(u.viewProj, view_ * projection_);
    if (dirty_ & kDirtyMaterial) {
        const Material& m = material_;
        glUniform4f(u.matDiffuse, m.Diffuse.r, m.Diffuse.g, m.Diffuse.b, m.Diffuse.a);
        glUniform3f(u.matAmbient, m.Ambient.r, m.Ambient.g, m.Ambient.b);
        glUniform3f(u.matEmissive, m.Emissive.r, m.Emissive.g, m.Emissive.b);
    }
    if (dirty_ & kDirtyLight) {
        Color g = renderStates_[RS_AMBIENT];
        float ambient[3] = {((g >> 16) & 0xFF) / 255.0f, ((g >> 8) & 0xFF) / 255.0f,
                            (g & 0xFF) / 255.0f};
        Vector3 d = light_.Direction;
        float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        bool on = lightOn_ && light_.Type == LIGHT_DIRECTIONAL && len > 0.0f;
        if (on) {
            ambient[0] += light_.Ambient.r, ambient[1] += light_.Ambient.g;
            ambient[2] += light_.Ambient.b;
        }
        glUniform3fv(u.ambient, 1, ambient);
        glUniform3f(u.lightDir, on ? d.x / len : 0, on ? d.y / len : 0, on ? d.z / len : 0);
        glUniform3f(u.lightDiffuse, on ? light_.Diffuse.r : 0, on ? light_.Diffuse.g : 0,
                    on ? light_.Diffuse.b : 0);
    }
    if (dirty_ & kDirtyClip) {
        // Some drivers clip on the distance whether or not it is enabled: keep it positive.
        bool clip = (renderStates_[RS_CLIPPLANEENABLE] & CLIPPLANE0) != 0;
        Plane p = clip ? clipPlane_ : kNoClip;
        glUniform4f(u.clipPlane, p.a, p.b, p.c, p.d);
    }
    dirty_ = 0;
    SetInt(u.lighting, a.lighting, renderStates_[RS_LIGHTING] != 0);
    SetInt(u.colorVertex, a.colorVertex, colorVertex);
}

bool GlDevice::UseProgram(GlTerm rgb, GlTerm alpha) {
    const int k = static_cast<int>(rgb) * kGlTerms + static_cast<int>(alpha);
    if (k == gl_->program) return true;
    GLuint& program = gl_->programs[k];
    if (!program) {
        program = BuildProgram(gl_->uniforms[k], rgb, alpha);
        if (!program) return false;
        MarkStartup("shader program " + std::to_string(k));
    } else {
        glUseProgram(program);
    }
    gl_->program = k;
    *loc_ = gl_->uniforms[k];
    // Uniforms belong to their program: the new one gets every value on its next draw.
    dirty_ = kDirtyAll;
    applied_->lighting = applied_->colorVertex = -1;
    applied_->spritePass = false;
    return true;
}

bool GlDevice::UseStageProgram(Texture* texture) {
    bool hasTexture = texture && static_cast<GlTexture*>(texture)->Id() != 0;
    if (colorOp_ == 1) return UseProgram(GlTerm::Diffuse, GlTerm::Diffuse); // stage disabled
    return UseProgram(StageTerm(colorOp_, colorArg1_, colorArg2_, hasTexture),
                      StageTerm(alphaOp_, alphaArg1_, alphaArg2_, hasTexture));
}

void GlDevice::BindTexture(Texture* texture) {
    GLuint id = texture ? static_cast<GlTexture*>(texture)->Id() : 0;
    if (id && id != applied_->texture) glBindTexture(GL_TEXTURE_2D, id), applied_->texture = id;
}

void GlDevice::BindVertexArray(unsigned vao) {
    if (vao != applied_->vao) glBindVertexArray(vao), applied_->vao = vao;
}

HRESULT GlDevice::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                                  uint32_t stride) {
    if (primitiveCount == 0) return S_OK;
    GLenum mode;
    uint32_t count;
    switch (type) {
    case PT_TRIANGLELIST:
        mode = GL_TRIANGLES, count = primitiveCount * 3;
        break;
    case PT_TRIANGLESTRIP:
        mode = GL_TRIANGLE_STRIP, count = primitiveCount + 2;
        break;
    case PT_TRIANGLEFAN:
        mode = GL_TRIANGLE_FAN, count = primitiveCount + 2;
        break;
    default:
        return E_INVALIDARG;
    }
    FvfLayout layout;
    if (!vertices || !LayoutOf(fvf_, layout) || stride < layout.size) return E_INVALIDARG;
    if (!Current()) return E_FAIL;

    bool opaque = TextureOpaque(texture_);
    if (opaque && layout.diffuse >= 0) {
        const auto* bytes = static_cast<const unsigned char*>(vertices);
        for (uint32_t i = 0; i < count && opaque; ++i)
            opaque = bytes[static_cast<size_t>(i) * stride + layout.diffuse + 3] == 0xFF;
    } else if (opaque) {
        opaque = renderStates_[RS_LIGHTING] != 0 && material_.Diffuse.a >= 1.0f;
    }
    ApplyState(Pass::Scene, opaque);
    if (!UseStageProgram(texture_)) return E_FAIL;
    ApplyUniforms(layout.diffuse >= 0);
    BindTexture(texture_);
    BindVertexArray(gl_->streamVao);
    glBindBuffer(GL_ARRAY_BUFFER, gl_->streamVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count) * stride, vertices,
                 GL_STREAM_DRAW);
    auto s = static_cast<GLsizei>(stride);
    Attribute(kAttribPosition, 3, GL_FLOAT, GL_FALSE, s, 0);
    Attribute(kAttribNormal, 3, GL_FLOAT, GL_FALSE, s, layout.normal);
    Attribute(kAttribColor, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, s, layout.diffuse);
    Attribute(kAttribUv, 2, GL_FLOAT, GL_FALSE, s, layout.uv);
    glDrawArrays(mode, 0, static_cast<GLsizei>(count));
    return S_OK;
}

HRESULT GlDevice::DrawSubset(Mesh& mesh, uint32_t subset) {
    auto* m = dynamic_cast<GlMesh*>(&mesh);
    if (!m || subset >= m->SubsetCount()) return E_INVALIDARG;
    if (!m->Live()) return S_OK; // no geometry, or made in a context that is gone
    const MeshData::Subset& s = m->data.subsets[subset];
    if (s.indexStart > m->indexCount || s.indexCount > m->indexCount - s.indexStart)
        return E_INVALIDARG;
    if (s.indexCount == 0) return S_OK;
    if (!Current()) return E_FAIL;

    ApplyState(Pass::Scene, renderStates_[RS_LIGHTING] != 0 && material_.Diffuse.a >= 1.0f &&
                                TextureOpaque(texture_));
    if (!UseStageProgram(texture_)) return E_FAIL;
    ApplyUniforms(false);
    BindTexture(texture_);
    BindVertexArray(m->vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(s.indexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<void*>(static_cast<uintptr_t>(s.indexStart) * 4));
    return S_OK;
}

HRESULT GlDevice::DrawSprite(Texture* texture, const Rect& src, const Matrix& transform,
                             Color color) {
    if (!texture) return S_OK;
    auto* t = dynamic_cast<GlTexture*>(texture);
    if (!t) return E_INVALIDARG;
    if (!t->Live()) return S_OK;
    Rect r = ClampRect(src, t->width, t->height);
    if (r.right <= r.left || r.bottom <= r.top) return S_OK;
    if (!Current()) return E_FAIL;

    // The source rectangle with its top-left texel at the origin, one unit per texel.
    struct SpriteVertex {
        float x, y, z;
        uint32_t color;
        float u, v;
    };
    float w = static_cast<float>(r.right - r.left), h = static_cast<float>(r.bottom - r.top);
    float u0 = static_cast<float>(r.left) / t->width, u1 = static_cast<float>(r.right) / t->width;
    float v0 = static_cast<float>(r.top) / t->height;
    float v1 = static_cast<float>(r.bottom) / t->height;
    const SpriteVertex quad[4] = {{0, 0, 0, color, u0, v0},
                                  {w, 0, 0, color, u1, v0},
                                  {w, h, 0, color, u1, v1},
                                  {0, h, 0, color, u0, v1}};

    ApplyState(Pass::Sprite, color >> 24 == 0xFF && t->opaque);
    if (!UseProgram(GlTerm::Modulate, GlTerm::Modulate)) return E_FAIL;
    GlApplied& a = *applied_;
    // Drawn texel for pixel, every pixel centre falls on a texel centre: the nearest texel is
    // what filtering would give, for a quarter of the reads.
    GLuint sampler = TexelForPixel(transform) ? gl_->alignedSpriteSampler : gl_->spriteSampler;
    if (sampler != a.sampler) glBindSampler(0, sampler), a.sampler = sampler;
    const GlUniforms& u = *loc_;
    if (!a.spritePass) {
        UploadMatrix(u.viewProj, SpriteProjection());
        glUniform4f(u.clipPlane, kNoClip.a, kNoClip.b, kNoClip.c, kNoClip.d);
        a.spritePass = true;
    }
    UploadMatrix(u.world, transform);
    SetInt(u.lighting, a.lighting, 0);
    BindTexture(t);
    BindVertexArray(gl_->streamVao);
    glBindBuffer(GL_ARRAY_BUFFER, gl_->streamVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
    const GLsizei stride = sizeof(SpriteVertex);
    Attribute(kAttribPosition, 3, GL_FLOAT, GL_FALSE, stride, 0);
    Attribute(kAttribNormal, 3, GL_FLOAT, GL_FALSE, stride, -1);
    Attribute(kAttribColor, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
              offsetof(SpriteVertex, color));
    Attribute(kAttribUv, 2, GL_FLOAT, GL_FALSE, stride, offsetof(SpriteVertex, u));
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    return S_OK;
}

HRESULT GlDevice::Present() {
    if (!Current()) return E_FAIL;
    if (canQueryReset_ && glGetGraphicsResetStatus() != GL_NO_ERROR) return E_FAIL;
    if (direct_) {
        // A window without a second buffer (an off-screen surface) swaps nothing and would not
        // send the frame to the renderer: its commands would pile up frame after frame. The
        // frame is finished before the next begins, as the copy into the window made it be:
        // the software renderer then holds one frame's commands, not several.
        glFinish();
        SDL_GL_SwapWindow(window_.get());
        Pace();
        return S_OK;
    }
    // The picture, scaled to the window with its aspect ratio kept, black bars around it.
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window_.get(), &width, &height);
    double scale =
        std::min(static_cast<double>(width) / kWidth, static_cast<double>(height) / kHeight);
    int w = static_cast<int>(std::lround(kWidth * scale));
    int h = static_cast<int>(std::lround(kHeight * scale));
    int x = (width - w) / 2, y = (height - h) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gl_->fbo);
    glViewport(0, 0, width, height);
    if (w != width || h != height) { // bars: the picture does not cover the window
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (w > 0 && h > 0)
        glBlitFramebuffer(0, 0, kWidth, kHeight, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                          w == kWidth && h == kHeight ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(window_.get());
    glBindFramebuffer(GL_FRAMEBUFFER, gl_->fbo);
    glViewport(0, 0, kWidth, kHeight);
    Pace();
    return S_OK;
}

void GlDevice::Pace() {
    // Swap intervals do not wait everywhere (virtual displays): frames are never closer than
    // 1/60 s, as every timing of the game counts frames.
    if (!FramePacing()) {
        glFinish(); // unpaced frames are measured: the picture must really be finished
        return;
    }
    auto start = slots_.Next(std::chrono::steady_clock::now());
    std::this_thread::sleep_until(start);
}

HRESULT GlDevice::Reset(const PresentParameters&) {
    if (Current() && !(canQueryReset_ && glGetGraphicsResetStatus() != GL_NO_ERROR)) return S_OK;
    DropContext();
    return MakeContext() ? S_OK : E_FAIL;
}

bool GlDevice::ReadBackBuffer(Image& out) {
    if (!Current()) return false;
    std::vector<uint32_t> rows(static_cast<size_t>(kWidth) * kHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, direct_ ? 0 : gl_->fbo);
    glReadBuffer(direct_ ? windowBuffer_ : GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    // GL's rows run bottom-up; the picture is opaque.
    out.width = kWidth;
    out.height = kHeight;
    out.pixels.resize(rows.size());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            out.pixels[static_cast<size_t>(y) * kWidth + x] =
                rows[static_cast<size_t>(kHeight - 1 - y) * kWidth + x] | 0xFF000000u;
    return true;
}

} // namespace platform
