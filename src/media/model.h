// Block models: .x files loaded as meshes with their materials and textures.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics.h"

struct ModelRecord {
    platform::MeshPtr mesh; // absent: the record is empty
    uint32_t materialCount = 0;
    std::vector<platform::Material> materials;  // ambient replaced by diffuse
    std::vector<platform::TexturePtr> textures; // empty entries for untextured materials
};

// Fills an empty record from an .x file; a file that cannot be read leaves it empty.
void LoadModel(ModelRecord& record, const char* path, platform::GraphicsDevice& device);
// Draws every subset with the world transform and lighting the caller has set; `alpha`
// replaces the diffuse alpha of every material for this draw only.
void DrawModel(const ModelRecord& record, float alpha, platform::GraphicsDevice& device);
// Empties the record; harmless on an empty record.
void ReleaseModel(ModelRecord& record);
