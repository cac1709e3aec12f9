// The .x text reader: materials and subsets, frames, faces, normals, damaged files.
#include <gtest/gtest.h>

#include <sstream>

#include <cstdio>
#include <string>

#include "media/xfile.h"

namespace {

bool Parse(const std::string& text, XModel& out) {
    return ParseXFile(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out);
}

// Numbers as the file would write them ("-0" shown as "0").
std::string Text(std::initializer_list<float> values) {
    std::ostringstream out;
    const char* separator = "";
    for (float f : values) out << separator << f + 0.0f, separator = ",";
    return out.str();
}

// The positions of a subset's corners in index order, separated by spaces.
std::string Corners(const XModel& m, size_t subset) {
    std::string out;
    const auto& s = m.mesh.subsets.at(subset);
    for (uint32_t i = s.indexStart; i < s.indexStart + s.indexCount; ++i) {
        const auto& v = m.mesh.vertices.at(m.mesh.indices.at(i));
        out.append(out.empty() ? "" : " ").append(Text({v.x, v.y, v.z}));
    }
    return out;
}

// Two materials, the second referenced by name; faces of 4 and 3 corners using them out of
// order; templates and both kinds of comment on the way.
const std::string kPlate = R"(xof 0302txt 0032
// written by hand
template Header { <3D82AB43-62DA-11cf-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }
Header { 1; 0; 1; }
# the shared block material
Material Shared { 0.2;0.4;0.6;0.8;; 5.0; 0.1;0.2;0.3;; 0.0;0.5;0.0;; TextureFilename { "bmp/block.bmp"; } }
Mesh Plate {
 6; 0;0;0;, 0;1;0;, 1;1;0;, 1;0;0;, 2;1;0;, 2;0;0;;
 3; 4;0,1,2,3;, 3;3,2,4;, 3;3,4,5;;
 MeshMaterialList { 2; 3; 1,0,1;;
  Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
  { Shared }
 }
}
)";

TEST(XFile, MaterialsInListOrderWithTheirFaces) {
    XModel m;
    ASSERT_TRUE(Parse(kPlate, m));
    ASSERT_EQ(m.materials.size(), 2u);
    ASSERT_EQ(m.mesh.subsets.size(), 2u);

    auto fields = [](const XMaterial& x) {
        return Text({x.diffuse.r, x.diffuse.g, x.diffuse.b, x.diffuse.a, x.power, x.specular.r,
                     x.specular.g, x.specular.b, x.emissive.r, x.emissive.g, x.emissive.b}) +
               " " + x.textureFile;
    };
    EXPECT_EQ(fields(m.materials[0]), "1,0,0,1,0,0,0,0,0,0,0 ");
    EXPECT_EQ(fields(m.materials[1]), "0.2,0.4,0.6,0.8,5,0.1,0.2,0.3,0,0.5,0 bmp/block.bmp");

    // Subset 0: the middle face; subset 1: the quad as a fan, then the last face.
    EXPECT_EQ(Corners(m, 0), "1,0,0 1,1,0 2,1,0");
    EXPECT_EQ(Corners(m, 1), "0,0,0 0,1,0 1,1,0 0,0,0 1,1,0 1,0,0 1,0,0 2,1,0 2,0,0");
    // No normals in the file: clockwise faces get the normal towards the viewer.
    for (const auto& v : m.mesh.vertices) EXPECT_EQ(Text({v.nx, v.ny, v.nz, v.u}), "0,0,-1,0");
}

TEST(XFile, NestedFramesComposeChildThenParent) {
    // The inner matrix (rotation about Y by 90 degrees, scaled by 2) stands after its mesh.
    const std::string text = R"(xof 0303txt 0032
Frame Outer {
 FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
 Frame Inner {
  Mesh { 3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;
   MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; }
  }
  FrameTransformMatrix { 0,0,-2,0, 0,2,0,0, 2,0,0,0, 0,0,0,1;; }
 }
}
Mesh Loose { 3; 5;5;5;, 6;5;5;, 5;6;5;; 1; 3;0,1,2;; }
)";
    XModel m;
    ASSERT_TRUE(Parse(text, m));
    // Each mesh without a material list brings one white material.
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_FLOAT_EQ(m.materials[1].diffuse.g, 1.0f);
    EXPECT_FLOAT_EQ(m.materials[1].diffuse.a, 1.0f);
    EXPECT_EQ(Corners(m, 0), "10,0,-2 10,2,0 12,0,0");
    EXPECT_EQ(Corners(m, 1), "5,5,5 6,5,5 5,6,5");
    // The normal turned with the frame and kept unit length despite the scaling.
    const auto& n = m.mesh.vertices[m.mesh.indices[0]];
    EXPECT_EQ(Text({n.nx, n.ny, n.nz}), "0,0,-1");
}

TEST(XFile, PolygonNormalsAndTextureCoordinatesFollowTheirOwnLists) {
    const std::string text = R"(xof 0302txt 0064
Mesh Pentagon {
 5; 0;0;0;, 0;1;0;, 1;2;0;, 2;1;0;, 2;0;0;;
 2; 5;0,1,2,3,4;, 3;4,3,0;;
 MeshNormals { 3; 0;0;-1;, 0;1;0;, 1;0;0;; 2; 5;1,0,2,0,1;, 3;2,2,0;; }
 MeshTextureCoords { 5; 0;0.5;, 0.25;0;, 0.5;0;, 0.75;0;, 1;0.5;; }
}
)";
    XModel m;
    ASSERT_TRUE(Parse(text, m));
    EXPECT_EQ(Corners(m, 0),
              "0,0,0 0,1,0 1,2,0 0,0,0 1,2,0 2,1,0 0,0,0 2,1,0 2,0,0 2,0,0 2,1,0 0,0,0");
    // Corner by corner: normals from their own face list, texture coordinates by position.
    std::string normals, uvs;
    for (const auto& v : m.mesh.vertices) {
        normals += Text({v.nx, v.ny, v.nz}) + " ";
        uvs += Text({v.u, v.v}) + " ";
    }
    EXPECT_EQ(normals, "0,1,0 0,0,-1 1,0,0 0,0,-1 0,1,0 1,0,0 1,0,0 0,0,-1 ");
    EXPECT_EQ(uvs, "0,0.5 0.25,0 0.5,0 0.75,0 1,0.5 1,0.5 0.75,0 0,0.5 ");
}

TEST(XFile, RefusesOtherFormatsAndEveryTruncation) {
    XModel m;
    for (const char* header : {"xof 0302bin 0032", "xof 0303tzip0032", "xof 0303bzip0032",
                               "xof 0302txt 0016", "XOF 0302txt 0032"}) {
        std::string text = header + kPlate.substr(16);
        EXPECT_FALSE(Parse(text, m)) << header;
    }
    // Every cut before the last closing brace leaves something unfinished.
    const size_t last = kPlate.rfind('}');
    for (size_t n = 0; n < last; ++n) EXPECT_FALSE(Parse(kPlate.substr(0, n), m)) << n;
    EXPECT_FALSE(ParseXFile(nullptr, 0, m));
}

TEST(XFile, RefusesDamagedAndHostileFiles) {
    const std::string head = "xof 0302txt 0032\n";
    const std::string tri = "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; ";
    const std::string white = "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; ";
    std::string deepFrames;
    for (int i = 0; i < 500000; ++i) deepFrames += "Frame {";
    const std::pair<const char*, std::string> cases[] = {
        {"no mesh at all", "template T { <00000000-0000-0000-0000-000000000000> }"},
        {"vertex index out of range", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }"},
        {"four billion vertices", "Mesh { 4000000000; 0;0;0;; 1; 3;0,0,0;; }"},
        {"count beyond 32 bits", "Mesh { 4294967299; 0;0;0;; 1; 3;0,0,0;; }"},
        {"four billion corners", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 4000000000;0,1,2;; }"},
        {"negative count", "Mesh { -3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }"},
        {"not a number", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1.#QNAN;0;; 1; 3;0,1,2;; }"},
        {"material index out of range", tri + "MeshMaterialList { 1; 1; 1;; " + white + "} } }"},
        {"unknown material name", tri + "MeshMaterialList { 1; 1; 0;; { Nowhere } } }"},
        {"fewer materials than counted", tri + "MeshMaterialList { 2; 1; 0;; " + white + "} } }"},
        {"normal faces do not match", tri + "MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; } }"},
        {"normal face of other size", tri + "MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; } }"},
        {"normal index out of range", tri + "MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }"},
        {"too few texture coordinates", tri + "MeshTextureCoords { 2; 0;0;, 1;1;; } }"},
        {"unterminated texture name",
         tri + "MeshMaterialList { 1; 1; 0;; " + white + "TextureFilename { \"a.bmp"},
        {"unbalanced braces", tri + "} }"},
        {"stray token in a frame", "Frame { 12 " + tri + "} }"},
        {"short transform", "Frame { FrameTransformMatrix { 1,0,0,0;; } " + tri + "} }"},
        {"frames nested without end", deepFrames},
        {"braces nested without end", "Unknown { " + std::string(100000, '{')},
    };
    for (const auto& [what, body] : cases) {
        XModel m;
        EXPECT_FALSE(Parse(head + body, m)) << what;
    }
}

} // namespace
