// The shader program of the OpenGL device.
#include "platform/sdl/gl_program.h"

#include <cstdio>
#include <string>

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

// Texture stage 0 is compiled into the fragment shader, one program per pair of channel terms:
// the software renderer runs every branch of a shader for every pixel, so the texture is sampled
// only by the programs that use it.
const char* kFragmentHead = R"(#version 330 core
in vec4 vColor;
in vec2 vUv;

uniform sampler2D uTexture;

out vec4 fragColor;

void main() {
)";

const char* TermSource(GlTerm term) {
    switch (term) {
    case GlTerm::Texture:
        return "tex";
    case GlTerm::Modulate:
        return "(tex * vColor)";
    case GlTerm::White:
        return "vec4(1.0)";
    case GlTerm::DiffuseSquared:
        return "(vColor * vColor)";
    case GlTerm::TextureSquared:
        return "(tex * tex)";
    default:
        return "vColor";
    }
}

bool UsesTexture(GlTerm term) {
    return term == GlTerm::Texture || term == GlTerm::Modulate || term == GlTerm::TextureSquared;
}

std::string FragmentSource(GlTerm rgb, GlTerm alpha) {
    std::string source = kFragmentHead;
    if (UsesTexture(rgb) || UsesTexture(alpha))
        source += "    vec4 tex = texture(uTexture, vUv);\n";
    source += std::string("    fragColor = vec4(") + TermSource(rgb) + ".rgb, " +
              TermSource(alpha) + ".a);\n}\n";
    return source;
}

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

GlTerm StageTerm(uint32_t op, uint32_t arg1, uint32_t arg2, bool hasTexture) {
    // Argument 2 (the texture) is white without a texture; every other argument is the
    // vertex colour.
    auto arg = [&](uint32_t a) {
        if ((a & 15) != 2) return GlTerm::Diffuse;
        return hasTexture ? GlTerm::Texture : GlTerm::White;
    };
    if (op == 1) return GlTerm::Diffuse; // disabled
    if (op == 2) return arg(arg1);
    if (op == 3) return arg(arg2);
    GlTerm a = arg(arg1), b = arg(arg2);
    if (a == GlTerm::White) return b;
    if (b == GlTerm::White) return a;
    if (a != b) return GlTerm::Modulate;
    return a == GlTerm::Texture ? GlTerm::TextureSquared : GlTerm::DiffuseSquared;
}

GLuint BuildProgram(GlUniforms& u, GlTerm rgb, GlTerm alpha) {
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    std::string fragment = FragmentSource(rgb, alpha);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, fragment.c_str());
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
         at("uAmbient"),     at("uLightDir"),   at("uLightDiffuse"), at("uClipPlane")};
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "uTexture"), 0);
    return program;
}

} // namespace platform
