// The shader program of the OpenGL device: the fixed-function lighting and texture stage.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

namespace platform {

// Vertex attribute slots shared by the program and the vertex arrays.
// The subset a mesh vertex belongs to picks its material. Each instance of a draw has its own
// world matrix (four columns) and normal matrix (three), one instance's values for every
// vertex; draws from memory set them once for the draw.
enum GlAttrib : GLuint {
    kAttribPosition = 0,
    kAttribNormal = 1,
    kAttribColor = 2,
    kAttribUv = 3,
    kAttribSubset = 4,
    kAttribWorld = 5,        // 5..8
    kAttribNormalMatrix = 9, // 9..11
};

// An instance: the world matrix's 16 floats as uploaded before, then the normal matrix's
// three columns, each padded to four.
constexpr int kInstanceFloats = 28;
// One draw holds up to this many consecutive subsets, each with diffuse, ambient and emissive.
constexpr int kBatchSubsets = 3;
constexpr int kMaterialFloats = 12;

// The program's uniform locations.
struct GlUniforms {
    GLint viewProj, firstSubset, material;
    GLint lighting, colorVertex, ambient, lightDir, lightDiffuse, clipPlane;
};

// What one channel (colour or alpha) of texture stage 0 computes.
enum class GlTerm : uint8_t {
    Diffuse,        // the vertex colour
    Texture,        // the texel
    Modulate,       // texel times vertex colour
    White,          // the texel of a missing texture
    DiffuseSquared, // vertex colour times itself
    TextureSquared, // texel times itself
};
constexpr int kGlTerms = 6;

// The term a channel's operation and arguments reduce to.
GlTerm StageTerm(uint32_t op, uint32_t arg1, uint32_t arg2, bool hasTexture);

// Compiles and links the program of one pair of terms; 0 on failure (the log goes to standard
// error). The program is left in use, its sampler on texture unit 0.
GLuint BuildProgram(GlUniforms& uniforms, GlTerm rgb, GlTerm alpha);

} // namespace platform
