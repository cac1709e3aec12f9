// The shader program of the OpenGL device: the fixed-function lighting and texture stage.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

namespace platform {

// Vertex attribute slots shared by the program and the vertex arrays.
enum GlAttrib : GLuint { kAttribPosition = 0, kAttribNormal = 1, kAttribColor = 2, kAttribUv = 3 };

// The program's uniform locations.
struct GlUniforms {
    GLint world, viewProj, normalMatrix;
    GLint lighting, colorVertex, matDiffuse, matAmbient, matEmissive, ambient, lightDir,
        lightDiffuse, clipPlane;
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
