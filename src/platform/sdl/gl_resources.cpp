// Textures and meshes of the OpenGL device: uploaded once, deleted with their context.
#include "platform/sdl/gl_resources.h"

#include <algorithm>

#include "platform/sdl/gl_device.h"
#include "platform/sdl/gl_program.h"

namespace platform {

GlTexture::GlTexture(int width, int height, std::string name, std::shared_ptr<GlLink> link,
                     GLuint id)
    : Texture(width, height, std::move(name)), link_(std::move(link)),
      generation_(link_->generation), id_(id) {}

GlTexture::~GlTexture() {
    if (link_->device) link_->device->ForgetTexture(*this, Live());
}

GlMesh::GlMesh(MeshData data, std::string name, std::shared_ptr<GlLink> link)
    : Mesh(std::move(data), std::move(name)), link_(std::move(link)),
      generation_(link_->generation) {}

GlMesh::~GlMesh() {
    if (link_->device) link_->device->ForgetMesh(*this, Live());
}

TexturePtr GlDevice::CreateTexture(int width, int height, std::vector<uint32_t> argb,
                                   std::string name) {
    if (width <= 0 || height <= 0 || !Current()) return nullptr;
    // Texels the caller did not supply are transparent black.
    argb.resize(static_cast<size_t>(width) * height, 0);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    applied_->texture = id;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                 argb.data());
    auto texture = std::make_unique<GlTexture>(width, height, std::move(name), link_, id);
    texture->opaque =
        std::all_of(argb.begin(), argb.end(), [](uint32_t t) { return t >> 24 == 0xFF; });
    return texture;
}

MeshPtr GlDevice::CreateMesh(MeshData data, std::string name) {
    if (!Current()) return nullptr;
    // Indices past the vertices would make the GPU read out of bounds: they become vertex 0.
    const auto vertexCount = static_cast<uint32_t>(data.vertices.size());
    for (auto& index : data.indices)
        if (index >= vertexCount) index = 0;
    std::vector<MeshData::Vertex> vertices = std::move(data.vertices);
    std::vector<uint32_t> indices = std::move(data.indices);
    data.vertices.clear();
    data.indices.clear();
    auto mesh = std::make_unique<GlMesh>(std::move(data), std::move(name), link_);
    if (vertices.empty() || indices.empty()) return mesh;

    mesh->indexCount = static_cast<uint32_t>(indices.size());
    glGenVertexArrays(1, &mesh->vao);
    BindVertexArray(mesh->vao);
    glGenBuffers(1, &mesh->vbo);
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof vertices[0]),
                 vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &mesh->ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh->ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof indices[0]), indices.data(),
                 GL_STATIC_DRAW);
    const GLsizei stride = sizeof(MeshData::Vertex);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshData::Vertex, x)));
    glEnableVertexAttribArray(kAttribNormal);
    glVertexAttribPointer(kAttribNormal, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshData::Vertex, nx)));
    glEnableVertexAttribArray(kAttribUv);
    glVertexAttribPointer(kAttribUv, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(MeshData::Vertex, u)));
    return mesh;
}

void GlDevice::ForgetTexture(const GlTexture& texture, bool deleteName) {
    if (texture_ == &texture) texture_ = nullptr;
    if (!deleteName || !Current()) return;
    GLuint id = texture.Id();
    if (applied_->texture == id) applied_->texture = ~0u;
    glDeleteTextures(1, &id);
}

void GlDevice::ForgetMesh(const GlMesh& mesh, bool deleteNames) {
    if (!deleteNames || !Current()) return;
    if (applied_->vao == mesh.vao) applied_->vao = ~0u;
    glDeleteVertexArrays(1, &mesh.vao);
    GLuint buffers[] = {mesh.vbo, mesh.ibo};
    glDeleteBuffers(2, buffers);
}

} // namespace platform
