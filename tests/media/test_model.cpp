// Model records: loading with textures, drawing with a per-draw alpha, releasing.
#include <gtest/gtest.h>

#include "media/model.h"
#include "platform/recording_device.h"
#include "support/files.h"

namespace {

using platform::CallKind;

const char* kPath = "./xFile/パズル用図形１.x";

// Three materials on three faces: textured, untextured, and naming a file that is not there.
const char* kModel = R"(xof 0302txt 0032
Mesh Block { 4; 0;0;0;, 0;1;0;, 1;1;0;, 1;0;0;; 3; 3;0,1,2;, 3;0,2,3;, 3;3,2,1;;
 MeshMaterialList { 3; 3; 0,1,2;;
  Material { 0.5;0.6;0.7;0.75;; 8.0; 1;1;1;; 0;0;0;; TextureFilename { "bmp/block.bmp"; } }
  Material { 0.1;0.2;0.3;1.0;; 0.0; 0;0;0;; 0.2;0.2;0.2;; }
  Material { 1;1;1;1;; 0.0; 0;0;0;; 0;0;0;; TextureFilename { "bmp/missing.bmp"; } } } }
)";

struct Model : testing::Test {
    Model() {
        dir.Put(kPath, kModel);
        dir.Put("bmp/block.bmp", testfiles::Bmp({0xFFFFFFFF}, 1, 1));
    }
    testfiles::DataDir dir;
    platform::RecordingDevice device;
    ModelRecord record;
};

TEST_F(Model, LoadsMaterialsAndTexturesAndDrawsEachSubsetWithThisDrawsAlpha) {
    LoadModel(record, kPath, device);
    ASSERT_TRUE(record.mesh);
    EXPECT_EQ(record.mesh->name, kPath);
    ASSERT_EQ(record.materialCount, 3u);
    const platform::Material& first = record.materials[0];
    EXPECT_FLOAT_EQ(first.Ambient.r, 0.5f) << "ambient is the diffuse colour";
    EXPECT_FLOAT_EQ(first.Power, 8.0f);
    EXPECT_FLOAT_EQ(first.Specular.g, 1.0f);
    EXPECT_FLOAT_EQ(record.materials[1].Emissive.g, 0.2f);
    ASSERT_EQ(record.textures.size(), 3u);
    ASSERT_TRUE(record.textures[0]);
    EXPECT_EQ(record.textures[0]->pixels, std::vector<uint32_t>{0xFFFFFFFF});
    EXPECT_FALSE(record.textures[1] || record.textures[2]) << "no texture file; file missing";

    device.ClearCalls();
    DrawModel(record, 0.5f, device);
    DrawModel(record, 1.0f, device);
    std::vector<platform::RecordedCall> meshes;
    for (const auto& c : device.Calls()) {
        EXPECT_TRUE(c.name != "TS_WORLD" && c.name != "RS_LIGHTING") << "the caller's: " << c.name;
        if (c.kind == CallKind::Mesh) meshes.push_back(c);
    }
    ASSERT_EQ(meshes.size(), 6u);
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(meshes[i].subset, i % 3);
        EXPECT_FLOAT_EQ(meshes[i].Alpha(), i < 3 ? 0.5f : 1.0f) << i;
        EXPECT_EQ(meshes[i].hasTexture, i % 3 == 0) << i;
    }
    EXPECT_FLOAT_EQ(meshes[1].material.Diffuse.b, 0.3f);
    EXPECT_FLOAT_EQ(record.materials[0].Diffuse.a, 0.75f) << "the stored material is left alone";
}

TEST_F(Model, EmptyRecordsDrawAndReleaseNothing) {
    ReleaseModel(record); // never loaded
    DrawModel(record, 1.0f, device);
    LoadModel(record, kPath, device);
    ReleaseModel(record);
    ReleaseModel(record);
    EXPECT_TRUE(!record.mesh && record.materialCount == 0 && record.textures.empty());
    device.ClearCalls();
    DrawModel(record, 1.0f, device);
    EXPECT_TRUE(device.Calls().empty());

    // Files that cannot be read leave the record empty, even one loaded before.
    LoadModel(record, kPath, device);
    LoadModel(record, dir.Put("xFile/broken.x", std::string(kModel).substr(0, 200)).c_str(),
              device);
    EXPECT_TRUE(!record.mesh && record.materialCount == 0);
    LoadModel(record, "xFile/none.x", device);
    EXPECT_FALSE(record.mesh);
}

} // namespace
