// The shader program of the OpenGL device: the fixed-function lighting and texture stage.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

namespace platform {

// Vertex attribute slots shared by the program and the vertex arrays.
// The subset a mesh vertex belongs to picks its material among its instance's.
enum GlAttrib : GLuint {
    kAttribPosition = 0,
    kAttribNormal = 1,
    kAttribColor = 2,
    kAttribUv = 3,
    kAttribSubset = 4,
};

// What each instance of a draw has of its own, in the uniform block at binding 0 (std140
// vec4s): the world matrix as uploaded before (4), the normal matrix's columns (3), and
// diffuse, ambient and emissive (3) of each of up to kBatchSubsets consecutive subsets.
constexpr int kBatchSubsets = 3;
constexpr int kInstanceVectors = 7 + 3 * kBatchSubsets;
constexpr int kInstanceFloats = 4 * kInstanceVectors;
constexpr int kMaterialFloats = 12, kFirstMaterial = 28; // where the materials begin
constexpr GLuint kInstanceBinding = 0;

// The program's uniform locations.
struct GlUniforms {
    GLint viewProj, firstSubset;
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

// Compiles and links the program of one pair of terms, for draws of up to `instances`
// instances; 0 on failure (the log goes to standard error). The program is left in use, its
// sampler on texture unit 0.
GLuint BuildProgram(GlUniforms& uniforms, GlTerm rgb, GlTerm alpha, int instances);

} // namespace platform
