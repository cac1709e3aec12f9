// Basic types of the graphics, sound and file interfaces the game was designed against.
#pragma once

#include <cstdint>

namespace platform {

using HRESULT = int32_t;
using DWORD = uint32_t;
using Color = uint32_t; // ARGB, 8 bits each, alpha in the top byte

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline bool Failed(HRESULT hr) {
    return hr < 0;
}

struct Vector3 {
    float x = 0, y = 0, z = 0;
};

// Row-vector, left-handed: a point p is transformed as p * M, translation in m[3][0..2].
struct Matrix {
    float m[4][4] = {};
};

// a*x + b*y + c*z + d >= 0 is the side that is kept by a clip plane.
struct Plane {
    float a = 0, b = 0, c = 0, d = 0;
};

struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct Material {
    ColorValue Diffuse, Ambient, Specular, Emissive;
    float Power = 0;
};

enum LightType : uint32_t { LIGHT_POINT = 1, LIGHT_SPOT = 2, LIGHT_DIRECTIONAL = 3 };

struct Light {
    LightType Type = LIGHT_DIRECTIONAL;
    ColorValue Diffuse, Specular, Ambient;
    Vector3 Position, Direction;
    float Range = 0, Falloff = 0, Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0;
    float Theta = 0, Phi = 0;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Render states (numbering of the original interface).
enum RenderStateType : uint32_t {
    RS_ZENABLE = 7,
    RS_FILLMODE = 8,
    RS_ZWRITEENABLE = 14,
    RS_SRCBLEND = 19,
    RS_DESTBLEND = 20,
    RS_CULLMODE = 22,
    RS_ALPHABLENDENABLE = 27,
    RS_LIGHTING = 137,
    RS_AMBIENT = 139,
    RS_CLIPPLANEENABLE = 152,
};
enum FillMode : uint32_t { FILL_POINT = 1, FILL_WIREFRAME = 2, FILL_SOLID = 3 };
enum Blend : uint32_t { BLEND_ZERO = 1, BLEND_ONE = 2, BLEND_SRCALPHA = 5, BLEND_INVSRCALPHA = 6 };
enum Cull : uint32_t { CULL_NONE = 1, CULL_CW = 2, CULL_CCW = 3 };

enum TextureStageStateType : uint32_t {
    TSS_COLOROP = 1,
    TSS_COLORARG1 = 2,
    TSS_COLORARG2 = 3,
    TSS_ALPHAOP = 4,
    TSS_ALPHAARG1 = 5,
    TSS_ALPHAARG2 = 6,
};
enum TextureOp : uint32_t {
    TOP_DISABLE = 1,
    TOP_SELECTARG1 = 2,
    TOP_SELECTARG2 = 3,
    TOP_MODULATE = 4
};
enum TextureArg : uint32_t { TA_DIFFUSE = 0, TA_CURRENT = 1, TA_TEXTURE = 2 };

enum SamplerStateType : uint32_t { SAMP_MAGFILTER = 5, SAMP_MINFILTER = 6, SAMP_MIPFILTER = 7 };
enum TextureFilter : uint32_t { TEXF_NONE = 0, TEXF_POINT = 1, TEXF_LINEAR = 2 };

enum TransformStateType : uint32_t { TS_VIEW = 2, TS_PROJECTION = 3, TS_WORLD = 256 };

enum ClearFlags : uint32_t { CLEAR_TARGET = 1, CLEAR_ZBUFFER = 2, CLEAR_STENCIL = 4 };

// Flexible vertex format bits.
enum FvfBits : uint32_t {
    FVF_XYZ = 0x002,
    FVF_NORMAL = 0x010,
    FVF_DIFFUSE = 0x040,
    FVF_TEX1 = 0x100,
};

enum PrimitiveType : uint32_t { PT_TRIANGLELIST = 4, PT_TRIANGLESTRIP = 5, PT_TRIANGLEFAN = 6 };

// Clip plane enable bits.
constexpr uint32_t CLIPPLANE0 = 1;

} // namespace platform
