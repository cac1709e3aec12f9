// Fuzz target: the .x text reader on arbitrary bytes; whatever it accepts must be a sound mesh.
#include <cstdlib>

#include "media/xfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XModel model;
    if (!ParseXFile(data, size, model)) return 0;
    const platform::MeshData& mesh = model.mesh;
    if (mesh.subsets.size() != model.materials.size() || mesh.indices.size() % 3 != 0) std::abort();
    size_t covered = 0;
    for (const auto& s : mesh.subsets) {
        if (s.indexStart != covered || s.indexCount % 3 != 0) std::abort();
        covered += s.indexCount;
    }
    if (covered != mesh.indices.size()) std::abort();
    for (uint32_t i : mesh.indices)
        if (i >= mesh.vertices.size()) std::abort();
    return 0;
}
