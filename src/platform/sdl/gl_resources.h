// Textures, meshes and the context's own objects of the OpenGL device.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <memory>

#include "platform/graphics.h"
#include "platform/sdl/gl_program.h"

namespace platform {

class GlDevice;

// Shared by the device and its resources: a resource made in an earlier context (or after the
// device is gone) has no GL names any more and is neither drawn nor deleted.
struct GlLink {
    GlDevice* device = nullptr;
    uint32_t generation = 0;
};

class GlTexture final : public Texture {
  public:
    GlTexture(int width, int height, std::string name, std::shared_ptr<GlLink> link, GLuint id);
    ~GlTexture() override;
    // The GL name; 0 when the context it lived in is gone.
    GLuint Id() const { return Live() ? id_ : 0; }
    // Every texel has full alpha: drawing it cannot let anything show through.
    bool opaque = false;
    bool Live() const { return link_->device && link_->generation == generation_; }

  private:
    std::shared_ptr<GlLink> link_;
    uint32_t generation_;
    GLuint id_;
};

// Vertices and indices live in GPU buffers; `data` keeps only the subsets.
class GlMesh final : public Mesh {
  public:
    GlMesh(MeshData data, std::string name, std::shared_ptr<GlLink> link);
    ~GlMesh() override;
    bool Live() const { return vao != 0 && link_->device && link_->generation == generation_; }

    GLuint vao = 0, vbo = 0, ibo = 0;
    uint32_t indexCount = 0;

  private:
    std::shared_ptr<GlLink> link_;
    uint32_t generation_;
};

// The objects every context of the device owns.
struct GlObjects {
    // One program per pair of texture stage terms (colour, alpha), built when first drawn.
    std::array<GLuint, kGlTerms * kGlTerms> programs{};
    std::array<GlUniforms, kGlTerms * kGlTerms> uniforms{};
    int program = -1;                                 // the one in use
    GLuint fbo = 0, colorBuffer = 0, depthBuffer = 0; // the 880 x 480 picture
    GLuint streamVao = 0, streamVbo = 0;              // vertices drawn from memory
    GLuint sceneSampler = 0, spriteSampler = 0, alignedSpriteSampler = 0;
};

// The GL state last set (-1 / ~0 unknown), so that draws change only what differs.
struct GlApplied {
    int blend = -1, depthTest = -1, depthWrite = -1, cull = -1, clip = -1;
    GLenum srcBlend = 0, dstBlend = 0, polygonMode = 0, frontFace = 0;
    GLuint sampler = ~0u, texture = ~0u, vao = ~0u;
    int lighting = -1, colorVertex = -1;
    bool spritePass = false; // the last draw was a sprite: the scene uniforms need uploading
};

} // namespace platform
