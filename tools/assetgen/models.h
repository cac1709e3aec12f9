// The block models: meshes built in code and written as DirectX .x text files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace models {

struct Vec3 {
    float x, y, z;
};

struct Material {
    float r, g, b, a; // diffuse
    float power;      // specular power
    float sr, sg, sb; // specular
    float er, eg, eb; // emissive
};

struct Mesh {
    std::vector<Vec3> positions, normals;
    std::vector<std::vector<int>> faces; // vertex indices; a face's normals share its indices
    std::vector<int> faceMaterial;
    std::vector<Material> materials;
};

// The .x text of a mesh.
std::string XText(const Mesh& mesh, const std::string& name);

// Model n (1..13) as the game uses it.
Mesh Build(int n);

// Writes the thirteen models.
void MakeModels();
// A PNG of every model lit as the game lights it, solid, as a faint ghost and on the board.
bool WritePreview(const std::filesystem::path& path);

} // namespace models
