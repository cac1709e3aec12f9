// The shader program of the OpenGL device.
#include "platform/sdl/gl_program.h"

#include <cstdio>

namespace platform {

namespace {

// Matrices are the game's row-vector matrices uploaded as they are, which is the column-vector
// form GL expects. Lighting is per vertex, one directional light, as the fixed pipeline does.
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aUv;

uniform mat4 uWorld;
uniform mat4 uViewProj;
uniform mat3 uNormalMatrix;   // inverse transpose of the world matrix
uniform int uLighting;
uniform int uColorVertex;     // the vertex colour is the diffuse material
uniform vec4 uMatDiffuse;
uniform vec3 uMatAmbient;
uniform vec3 uMatEmissive;
uniform vec3 uAmbient;        // ambient render state plus the light's ambient colour
uniform vec3 uLightDir;       // normalised; zero when the light is off
uniform vec3 uLightDiffuse;
uniform vec4 uClipPlane;      // world space, kept where a*x + b*y + c*z + d >= 0

out vec4 vColor;
out vec2 vUv;

void main() {
    vec4 world = uWorld * vec4(aPosition, 1.0);
    vec4 position = uViewProj * world;
    position.z = 2.0 * position.z - position.w; // depth 0..1 to GL's -1..1
    gl_Position = position;
    gl_ClipDistance[0] = dot(world, uClipPlane);
    vUv = aUv;
    if (uLighting != 0) {
        vec4 diffuse = uColorVertex != 0 ? aColor : uMatDiffuse;
        vec3 n = uNormalMatrix * aNormal;
        float len = length(n);
        float lambert = len > 0.0 ? max(dot(n / len, -uLightDir), 0.0) : 0.0;
        vec3 c = uMatEmissive + uMatAmbient * uAmbient + diffuse.rgb * uLightDiffuse * lambert;
        vColor = vec4(clamp(c, 0.0, 1.0), clamp(diffuse.a, 0.0, 1.0));
    } else {
        vColor = aColor;
    }
}
)";

// Texture stage 0: ops 1 disable, 2 select arg 1, 3 select arg 2, anything else modulates;
// argument 2 is the texture, the others the vertex colour.
const char* kFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vUv;

uniform sampler2D uTexture;
uniform int uHasTexture;
uniform ivec3 uColorStage; // op, arg1, arg2
uniform ivec3 uAlphaStage;

out vec4 fragColor;

vec4 Arg(int arg, vec4 tex) { return (arg & 15) == 2 ? tex : vColor; }

vec4 Stage(ivec3 stage, vec4 tex) {
    if (stage.x == 2) return Arg(stage.y, tex);
    if (stage.x == 3) return Arg(stage.z, tex);
    if (stage.x == 1) return vColor;
    return Arg(stage.y, tex) * Arg(stage.z, tex);
}

void main() {
    vec4 tex = uHasTexture != 0 ? texture(uTexture, vUv) : vec4(1.0);
    if (uColorStage.x == 1) {
        fragColor = vColor;
    } else {
        fragColor = vec4(Stage(uColorStage, tex).rgb, Stage(uAlphaStage, tex).a);
    }
}
)";

// True when the shader or program reached its status; else its log goes to standard error.
template <typename GetIv, typename GetLog>
bool Check(GLuint object, GLenum status, GetIv getIv, GetLog getLog, const char* what) {
    GLint ok = GL_FALSE;
    getIv(object, status, &ok);
    if (ok) return true;
    char log[1024] = {};
    getLog(object, sizeof log, nullptr, log);
    std::fprintf(stderr, "%s: %s\n", what, log);
    return false;
}

GLuint Compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    if (Check(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, "shader"))
        return shader;
    glDeleteShader(shader);
    return 0;
}

} // namespace

GLuint BuildProgram(GlUniforms& u) {
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    GLuint program = 0;
    if (vs && fs) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        if (!Check(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog, "program")) {
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    if (!program) return 0;

    auto at = [&](const char* name) { return glGetUniformLocation(program, name); };
    u = {at("uWorld"),       at("uViewProj"),   at("uNormalMatrix"), at("uLighting"),
         at("uColorVertex"), at("uMatDiffuse"), at("uMatAmbient"),   at("uMatEmissive"),
         at("uAmbient"),     at("uLightDir"),   at("uLightDiffuse"), at("uClipPlane"),
         at("uTexture"),     at("uHasTexture"), at("uColorStage"),   at("uAlphaStage")};
    glUseProgram(program);
    glUniform1i(u.texture, 0);
    return program;
}

} // namespace platform
