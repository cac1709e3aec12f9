// The shader program of the OpenGL device: the fixed-function lighting and texture stage.
#pragma once

#include <epoxy/gl.h>

namespace platform {

// Vertex attribute slots shared by the program and the vertex arrays.
enum GlAttrib : GLuint { kAttribPosition = 0, kAttribNormal = 1, kAttribColor = 2, kAttribUv = 3 };

// The program's uniform locations.
struct GlUniforms {
    GLint world, viewProj, normalMatrix;
    GLint lighting, colorVertex, matDiffuse, matAmbient, matEmissive, ambient, lightDir,
        lightDiffuse, clipPlane;
    GLint texture, hasTexture, colorStage, alphaStage;
};

// Compiles and links the program; 0 on failure (the log goes to standard error).
GLuint BuildProgram(GlUniforms& uniforms);

} // namespace platform
