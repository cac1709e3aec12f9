// The recording device.
#include "platform/recording_device.h"

#include <cstdio>
#include <cstring>

#include "platform/d3dmath.h"
#include "platform/json.h"

namespace platform {

namespace {

std::string Hex(Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", c);
    return buf;
}

void WriteMatrix(JsonWriter& j, const Matrix& m) {
    j.BeginArray();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) j.Value(m.m[r][c]);
    j.EndArray();
}

void WriteColor(JsonWriter& j, const ColorValue& c) {
    j.BeginArray().Value(c.r).Value(c.g).Value(c.b).Value(c.a).EndArray();
}

const char* TransformName(TransformStateType t) {
    switch (t) {
    case TS_VIEW:
        return "TS_VIEW";
    case TS_PROJECTION:
        return "TS_PROJECTION";
    case TS_WORLD:
        return "TS_WORLD";
    }
    return "TS_UNKNOWN";
}

RecordedCall Simple(CallKind kind) {
    RecordedCall c;
    c.kind = kind;
    return c;
}

} // namespace

const char* RenderStateName(RenderStateType state) {
    switch (state) {
    case RS_ZENABLE:
        return "RS_ZENABLE";
    case RS_FILLMODE:
        return "RS_FILLMODE";
    case RS_ZWRITEENABLE:
        return "RS_ZWRITEENABLE";
    case RS_SRCBLEND:
        return "RS_SRCBLEND";
    case RS_DESTBLEND:
        return "RS_DESTBLEND";
    case RS_CULLMODE:
        return "RS_CULLMODE";
    case RS_ALPHABLENDENABLE:
        return "RS_ALPHABLENDENABLE";
    case RS_LIGHTING:
        return "RS_LIGHTING";
    case RS_AMBIENT:
        return "RS_AMBIENT";
    case RS_CLIPPLANEENABLE:
        return "RS_CLIPPLANEENABLE";
    }
    return "RS_UNKNOWN";
}

std::string RecordedCall::ToJson() const {
    JsonWriter j;
    j.BeginObject();
    switch (kind) {
    case CallKind::State:
        j.Field("call", "state").Field("name", name);
        if (name == "TS_WORLD" || name == "TS_VIEW" || name == "TS_PROJECTION") {
            j.Key("matrix");
            WriteMatrix(j, matrix);
        } else if (name == "material") {
            j.Key("diffuse"), WriteColor(j, material.Diffuse);
            j.Key("ambient"), WriteColor(j, material.Ambient);
            j.Key("specular"), WriteColor(j, material.Specular);
            j.Key("emissive"), WriteColor(j, material.Emissive);
            j.Field("power", material.Power);
        } else if (name == "texture") {
            j.Key("texture");
            hasTexture ? j.Value(resource) : j.Null();
        } else if (name == "clipplane") {
            j.Key("plane")
                .BeginArray()
                .Value(plane.a)
                .Value(plane.b)
                .Value(plane.c)
                .Value(plane.d)
                .EndArray();
        } else {
            j.Field("value", value);
        }
        break;
    case CallKind::Clear:
        j.Field("call", "clear").Key("flags").BeginArray();
        if (value & CLEAR_TARGET) j.Value("target");
        if (value & CLEAR_ZBUFFER) j.Value("zbuffer");
        if (value & CLEAR_STENCIL) j.Value("stencil");
        j.EndArray().Field("color", Hex(color)).Field("z", z);
        break;
    case CallKind::Mesh:
        j.Field("call", "mesh").Field("model", resource).Field("subset", subset);
        j.Field("alpha", material.Diffuse.a).Key("world");
        WriteMatrix(j, matrix);
        j.Field("lighting", lighting).Field("fill", wireframe ? "wireframe" : "solid");
        j.Field("clip", clip);
        break;
    case CallKind::Quad:
        j.Field("call", "quad").Key("texture");
        hasTexture ? j.Value(resource) : j.Null();
        j.Key("vertices").BeginArray();
        for (const auto& v : vertices)
            j.BeginArray()
                .Value(v.x)
                .Value(v.y)
                .Value(v.z)
                .Value(v.u)
                .Value(v.v)
                .Value(Hex(v.color))
                .EndArray();
        j.EndArray().Key("world");
        WriteMatrix(j, matrix);
        j.Field("lighting", lighting).Field("clip", clip);
        if (fvf & FVF_NORMAL) j.Field("normals", true);
        break;
    case CallKind::Sprite:
        j.Field("call", "sprite").Key("texture");
        hasTexture ? j.Value(resource) : j.Null();
        j.Key("rect")
            .BeginArray()
            .Value(rect.left)
            .Value(rect.top)
            .Value(rect.right)
            .Value(rect.bottom)
            .EndArray();
        j.Key("transform");
        WriteMatrix(j, matrix);
        j.Field("color", Hex(color));
        break;
    case CallKind::Begin:
        j.Field("call", "begin");
        break;
    case CallKind::End:
        j.Field("call", "end");
        break;
    case CallKind::Present:
        j.Field("call", "present");
        break;
    case CallKind::Reset:
        j.Field("call", "reset");
        break;
    }
    j.EndObject();
    return j.str();
}

RecordingDevice::RecordingDevice(GraphicsDevice* inner) : inner_(inner) {
    // The device's own defaults.
    renderStates_[RS_ZENABLE] = 1;
    renderStates_[RS_ZWRITEENABLE] = 1;
    renderStates_[RS_LIGHTING] = 1;
    renderStates_[RS_FILLMODE] = FILL_SOLID;
    renderStates_[RS_CULLMODE] = CULL_CCW;
    renderStates_[RS_SRCBLEND] = BLEND_ONE;
    renderStates_[RS_DESTBLEND] = BLEND_ZERO;
    world_ = view_ = projection_ = Identity();
}

size_t RecordingDevice::Count(CallKind kind, const std::string& resource) const {
    size_t n = 0;
    for (const auto& c : calls_)
        if (c.kind == kind && (resource.empty() || c.resource == resource)) ++n;
    return n;
}

uint32_t RecordingDevice::RenderState(RenderStateType state) const {
    return state < 256 ? renderStates_[state] : 0;
}

void RecordingDevice::Record(RecordedCall call) {
    if (recording_) calls_.push_back(std::move(call));
}

void RecordingDevice::RecordState(std::string name, uint32_t value) {
    if (!recording_) return;
    RecordedCall c;
    c.kind = CallKind::State;
    c.name = std::move(name);
    c.value = value;
    calls_.push_back(std::move(c));
}

RecordedCall RecordingDevice::Draw(CallKind kind) const {
    RecordedCall c;
    c.kind = kind;
    c.material = material_;
    c.matrix = world_;
    c.lighting = renderStates_[RS_LIGHTING] != 0;
    c.wireframe = renderStates_[RS_FILLMODE] == FILL_WIREFRAME;
    c.clip = (renderStates_[RS_CLIPPLANEENABLE] & CLIPPLANE0) != 0;
    c.depthTest = renderStates_[RS_ZENABLE] != 0;
    c.hasTexture = texture_ != nullptr;
    if (texture_) c.resource = texture_->name;
    c.fvf = fvf_;
    return c;
}

TexturePtr RecordingDevice::CreateTexture(int width, int height, std::vector<uint32_t> argb,
                                          std::string name) {
    if (inner_) return inner_->CreateTexture(width, height, std::move(argb), std::move(name));
    auto t = std::make_unique<Texture>(width, height, std::move(name));
    t->pixels = std::move(argb);
    return t;
}

MeshPtr RecordingDevice::CreateMesh(MeshData data, std::string name) {
    if (inner_) return inner_->CreateMesh(std::move(data), std::move(name));
    return std::make_unique<Mesh>(std::move(data), std::move(name));
}

HRESULT RecordingDevice::SetRenderState(RenderStateType state, uint32_t value) {
    if (state < 256) renderStates_[state] = value;
    RecordState(RenderStateName(state), value);
    return inner_ ? inner_->SetRenderState(state, value) : S_OK;
}

HRESULT RecordingDevice::SetTextureStageState(uint32_t stage, TextureStageStateType type,
                                              uint32_t value) {
    RecordState("TSS_" + std::to_string(stage) + "_" + std::to_string(type), value);
    return inner_ ? inner_->SetTextureStageState(stage, type, value) : S_OK;
}

HRESULT RecordingDevice::SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) {
    RecordState("SAMP_" + std::to_string(sampler) + "_" + std::to_string(type), value);
    return inner_ ? inner_->SetSamplerState(sampler, type, value) : S_OK;
}

HRESULT RecordingDevice::SetTransform(TransformStateType state, const Matrix& matrix) {
    if (state == TS_WORLD)
        world_ = matrix;
    else if (state == TS_VIEW)
        view_ = matrix;
    else if (state == TS_PROJECTION)
        projection_ = matrix;
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::State;
        c.name = TransformName(state);
        c.matrix = matrix;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->SetTransform(state, matrix) : S_OK;
}

HRESULT RecordingDevice::SetMaterial(const Material& material) {
    material_ = material;
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::State;
        c.name = "material";
        c.material = material;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->SetMaterial(material) : S_OK;
}

HRESULT RecordingDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage == 0) texture_ = texture;
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::State;
        c.name = "texture";
        c.value = stage;
        c.hasTexture = texture != nullptr;
        if (texture) c.resource = texture->name;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->SetTexture(stage, texture) : S_OK;
}

HRESULT RecordingDevice::SetLight(uint32_t index, const Light& light) {
    if (index < 8) lights_[index] = light;
    RecordState("light", index);
    return inner_ ? inner_->SetLight(index, light) : S_OK;
}

HRESULT RecordingDevice::LightEnable(uint32_t index, bool enable) {
    if (index < 8) lightOn_[index] = enable;
    RecordState("lightenable", enable ? 1 : 0);
    return inner_ ? inner_->LightEnable(index, enable) : S_OK;
}

HRESULT RecordingDevice::SetClipPlane(uint32_t index, const Plane& plane) {
    if (index == 0) clipPlane_ = plane;
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::State;
        c.name = "clipplane";
        c.value = index;
        c.plane = plane;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->SetClipPlane(index, plane) : S_OK;
}

HRESULT RecordingDevice::SetFVF(uint32_t fvf) {
    fvf_ = fvf;
    RecordState("fvf", fvf);
    return inner_ ? inner_->SetFVF(fvf) : S_OK;
}

HRESULT RecordingDevice::BeginScene() {
    Record(Simple(CallKind::Begin));
    return inner_ ? inner_->BeginScene() : S_OK;
}

HRESULT RecordingDevice::EndScene() {
    Record(Simple(CallKind::End));
    return inner_ ? inner_->EndScene() : S_OK;
}

HRESULT RecordingDevice::Clear(uint32_t count, const Rect* rects, uint32_t flags, Color color,
                               float z, uint32_t stencil) {
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::Clear;
        c.value = flags;
        c.color = color;
        c.z = z;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->Clear(count, rects, flags, color, z, stencil) : S_OK;
}

HRESULT RecordingDevice::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                         const void* vertices, uint32_t stride) {
    if (recording_ && vertices) {
        RecordedCall c = Draw(CallKind::Quad);
        uint32_t count = type == PT_TRIANGLELIST                              ? primitiveCount * 3
                         : type == PT_TRIANGLEFAN || type == PT_TRIANGLESTRIP ? primitiveCount + 2
                                                                              : 0;
        const auto* bytes = static_cast<const unsigned char*>(vertices);
        for (uint32_t i = 0; i < count; ++i) {
            const unsigned char* p = bytes + static_cast<size_t>(i) * stride;
            RecordedVertex v;
            size_t off = 0;
            std::memcpy(&v.x, p, 12), off = 12;
            if (fvf_ & FVF_NORMAL) std::memcpy(&v.nx, p + off, 12), off += 12;
            if (fvf_ & FVF_DIFFUSE) std::memcpy(&v.color, p + off, 4), off += 4;
            if (fvf_ & FVF_TEX1) std::memcpy(&v.u, p + off, 8);
            c.vertices.push_back(v);
        }
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->DrawPrimitiveUP(type, primitiveCount, vertices, stride) : S_OK;
}

HRESULT RecordingDevice::DrawSubset(Mesh& mesh, uint32_t subset) {
    if (recording_) {
        RecordedCall c = Draw(CallKind::Mesh);
        c.resource = mesh.name;
        c.subset = subset;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->DrawSubset(mesh, subset) : S_OK;
}

HRESULT RecordingDevice::DrawSprite(Texture* texture, const Rect& src, const Matrix& transform,
                                    Color color) {
    if (recording_) {
        RecordedCall c;
        c.kind = CallKind::Sprite;
        c.hasTexture = texture != nullptr;
        if (texture) c.resource = texture->name;
        c.rect = src;
        c.matrix = transform;
        c.color = color;
        calls_.push_back(std::move(c));
    }
    return inner_ ? inner_->DrawSprite(texture, src, transform, color) : S_OK;
}

HRESULT RecordingDevice::Present() {
    Record(Simple(CallKind::Present));
    HRESULT hr = inner_ ? inner_->Present() : S_OK;
    return failPresent_ ? E_FAIL : hr;
}

HRESULT RecordingDevice::Reset(const PresentParameters& params) {
    Record(Simple(CallKind::Reset));
    return inner_ ? inner_->Reset(params) : S_OK;
}

bool RecordingDevice::ReadBackBuffer(Image& out) {
    return inner_ ? inner_->ReadBackBuffer(out) : false;
}

} // namespace platform
