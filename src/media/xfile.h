// The reader of DirectX .x text files: frames flattened into one mesh, materials in file order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"

struct XMaterial {
    platform::ColorValue diffuse; // faceColor
    float power = 0;
    platform::ColorValue specular; // a = 1
    platform::ColorValue emissive; // a = 1
    std::string textureFile;       // empty when the material has none
};

struct XModel {
    platform::MeshData mesh; // one subset per material
    std::vector<XMaterial> materials;
};

// Parses a text .x file. Returns false (and leaves `out` unspecified) for anything it cannot
// read: binary or compressed files, damaged or truncated text, absurd counts.
bool ParseXFile(const uint8_t* data, size_t size, XModel& out);
