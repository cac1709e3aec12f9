// Block models: loading, drawing and releasing .x models.
#include "media/model.h"

#include <algorithm>

#include "media/texture.h"
#include "media/xfile.h"
#include "platform/files.h"
#include "platform/startup.h"

namespace {
constexpr size_t kMaxModelBytes = 64u << 20;
}

void LoadModel(ModelRecord& record, const char* path, platform::GraphicsDevice& device) {
    ReleaseModel(record);
    std::vector<uint8_t> bytes;
    XModel model;
    if (!path || !platform::ReadFileBytes(path, bytes, kMaxModelBytes) ||
        !ParseXFile(bytes.data(), bytes.size(), model))
        return;

    record.materialCount = static_cast<uint32_t>(model.materials.size());
    record.materials.reserve(model.materials.size());
    record.textures.reserve(model.materials.size());
    for (const XMaterial& m : model.materials) {
        platform::Material material;
        material.Diffuse = m.diffuse;
        material.Ambient = m.diffuse;
        material.Specular = m.specular;
        material.Emissive = m.emissive;
        material.Power = m.power;
        record.materials.push_back(material);
        // Texture names are paths relative to the data folder, used as written.
        record.textures.push_back(
            m.textureFile.empty() ? nullptr : LoadTextureFile(device, m.textureFile.c_str()));
    }
    record.mesh = device.CreateMesh(std::move(model.mesh), path);
    if (!record.mesh) ReleaseModel(record);
    platform::MarkStartup(path);
}

void DrawModel(const ModelRecord& record, float alpha, platform::GraphicsDevice& device) {
    if (!record.mesh) return;
    const size_t count =
        std::min<size_t>({record.materialCount, record.materials.size(), record.textures.size()});
    for (uint32_t i = 0; i < count; ++i) {
        platform::Material material = record.materials[i];
        material.Diffuse.a = alpha;
        device.SetMaterial(material);
        device.SetTexture(0, record.textures[i].get());
        device.DrawSubset(*record.mesh, i);
    }
}

void ReleaseModel(ModelRecord& record) {
    record = ModelRecord{};
}
