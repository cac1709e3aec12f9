// The reader of DirectX .x text files.
//
// Every Mesh is flattened into one MeshData: one vertex per face corner, faces triangulated as
// fans, frame transforms applied to the positions and normals of the meshes inside them.
// Materials are collected in file order and each gets one subset. Every count is checked
// against the bytes left before anything is read, so a damaged file can neither make us read
// out of bounds nor allocate more than the file could describe.
#include "media/xfile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>

#include "platform/d3dmath.h"

namespace {

using platform::MeshData;
using platform::Vector3;

constexpr int kMaxDepth = 128;             // nesting of objects (frames in frames, ...)
constexpr size_t kMaxTextureName = 1024;   // longer texture names are damage
constexpr size_t kNameBudgetExtra = 65536; // texture-name bytes allowed beyond 4 x file size

enum class Tok { End, Name, Number, String, Open, Close, Guid, Other, Error };

// Splits the text into names, numbers, strings, braces and GUIDs. Commas, semicolons,
// white space and comments ("//" or "#" to the end of the line) only separate.
class Lexer {
  public:
    Lexer(const char* begin, const char* end) : p_(begin), end_(end) { Advance(); }

    Tok Kind() const { return kind_; }
    std::string_view Text() const { return text_; }
    size_t Remaining() const { return static_cast<size_t>(end_ - p_); }

    void Advance() {
        SkipSeparators();
        if (p_ == end_) return Set(Tok::End, p_, p_);
        const char* start = p_;
        char c = *p_;
        if (c == '{') return Set(Tok::Open, start, ++p_);
        if (c == '}') return Set(Tok::Close, start, ++p_);
        if (c == '"' || c == '<') {
            const char close = c == '"' ? '"' : '>';
            const void* q = std::memchr(p_ + 1, close, Remaining() - 1);
            if (!q) return Set(Tok::Error, p_, p_);
            p_ = static_cast<const char*>(q) + 1;
            return Set(c == '"' ? Tok::String : Tok::Guid, start + 1, p_ - 1);
        }
        if (!IsWordChar(c)) return Set(Tok::Other, start, ++p_);
        while (p_ != end_ && IsWordChar(*p_) && !StartsComment()) ++p_;
        bool numeric = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
        Set(numeric ? Tok::Number : Tok::Name, start, p_);
    }

  private:
    static bool IsWordChar(char c) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) return true; // names may be UTF-8 or a local code page
        return std::isalnum(u) || c == '_' || c == '-' || c == '+' || c == '.';
    }
    bool StartsComment() const { return *p_ == '#' || (*p_ == '/' && Next() == '/'); }
    char Next() const { return p_ + 1 < end_ ? p_[1] : '\0'; }

    void SkipSeparators() {
        while (p_ != end_) {
            char c = *p_;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';') {
                ++p_;
            } else if (StartsComment()) {
                const void* nl = std::memchr(p_, '\n', Remaining());
                p_ = nl ? static_cast<const char*>(nl) : end_;
            } else {
                break;
            }
        }
    }
    void Set(Tok kind, const char* b, const char* e) {
        kind_ = kind;
        text_ = std::string_view(b, static_cast<size_t>(e - b));
    }

    const char* p_;
    const char* end_;
    Tok kind_ = Tok::End;
    std::string_view text_;
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

XMaterial DefaultMaterial() {
    XMaterial m;
    m.diffuse = {1, 1, 1, 1};
    m.specular = {0, 0, 0, 1};
    m.emissive = {0, 0, 0, 1};
    return m;
}

// One Mesh object as read, before it is flattened.
struct MeshBuild {
    std::vector<Vector3> positions;
    std::vector<uint32_t> faceSizes;
    std::vector<uint32_t> corners; // position index of every corner, face after face
    std::vector<Vector3> normals;
    std::vector<uint32_t> normalCorners; // normal index of every corner (empty: compute)
    std::vector<std::pair<float, float>> uvs;
    bool hasMaterialList = false;
    std::vector<uint32_t> faceMaterials;
    std::vector<XMaterial> materials;
};

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vector3 Minus(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vector3 Normalized(const Vector3& v) {
    float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(len > 0.0f) || !std::isfinite(len)) return v;
    return {v.x / len, v.y / len, v.z / len};
}

class XParser {
  public:
    XParser(const uint8_t* data, size_t size, XModel& out)
        : lex_(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size),
          out_(out), nameBudget_(size * 4 + kNameBudgetExtra) {}

    bool Parse() {
        return Children(Tok::End,
                        [&](std::string_view type) {
                            return type == "template" ? SkipObject(0) : DataObject(type, 0);
                        }) &&
               meshes_ > 0 && Finish();
    }

  private:
    // Walks the child objects of a body up to `stop` (its closing brace, or the end of the
    // file), skipping references; `child` is called with each child's type name read.
    template <class Child> bool Children(Tok stop, Child child) {
        while (lex_.Kind() != stop) {
            if (lex_.Kind() == Tok::Open) {
                if (!SkipReference()) return false;
                continue;
            }
            if (lex_.Kind() != Tok::Name) return false;
            std::string_view type = lex_.Text();
            lex_.Advance();
            if (!child(type)) return false;
        }
        lex_.Advance();
        return true;
    }

    // A data object of the given type whose type name has been read, at file or frame level.
    bool DataObject(std::string_view type, int depth) {
        if (type == "Frame") return Frame(depth + 1);
        if (type == "Mesh") return Mesh(depth + 1);
        if (type == "Material") {
            XMaterial m;
            return Material(m, depth + 1);
        }
        return SkipObject(depth + 1);
    }

    // Reads the optional name, the opening brace and the optional GUID of an object.
    bool Header(int depth, std::string_view* name = nullptr) {
        if (depth > kMaxDepth) return false;
        if (lex_.Kind() == Tok::Name || lex_.Kind() == Tok::Number) {
            if (name) *name = lex_.Text();
            lex_.Advance();
        }
        if (lex_.Kind() != Tok::Open) return false;
        lex_.Advance();
        if (lex_.Kind() == Tok::Guid) lex_.Advance();
        return true;
    }

    // Skips the rest of an object body up to and including its closing brace.
    bool SkipBody(int depth) {
        int open = 1;
        while (open > 0) {
            switch (lex_.Kind()) {
            case Tok::End:
            case Tok::Error:
                return false;
            case Tok::Open:
                if (depth + ++open > kMaxDepth) return false;
                break;
            case Tok::Close:
                --open;
                break;
            default:
                break;
            }
            lex_.Advance();
        }
        return true;
    }

    bool SkipObject(int depth) { return Header(depth) && SkipBody(depth); }

    // "{ Name }", "{ <GUID> }" or "{ Name <GUID> }": a reference we have no use for.
    bool SkipReference() {
        std::string_view name;
        return Reference(name);
    }
    bool Reference(std::string_view& name) {
        lex_.Advance(); // '{'
        if (lex_.Kind() == Tok::Name || lex_.Kind() == Tok::Number) {
            name = lex_.Text();
            lex_.Advance();
        }
        if (lex_.Kind() == Tok::Guid) lex_.Advance();
        if (lex_.Kind() != Tok::Close) return false;
        lex_.Advance();
        return true;
    }

    bool Close() {
        if (lex_.Kind() != Tok::Close) return false;
        lex_.Advance();
        return true;
    }

    bool Float(float& out) {
        if (lex_.Kind() != Tok::Number) return false;
        std::string_view t = lex_.Text();
        if (!t.empty() && t.front() == '+') t.remove_prefix(1);
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
        if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(out)) return false;
        lex_.Advance();
        return true;
    }

    bool Vec3(Vector3& v) { return Float(v.x) && Float(v.y) && Float(v.z); }
    bool Rgb(platform::ColorValue& c) { return Float(c.r) && Float(c.g) && Float(c.b); }

    bool Transform(platform::Matrix& m) {
        for (auto& row : m.m)
            for (float& f : row)
                if (!Float(f)) return false;
        return true;
    }

    bool Uint(uint32_t& out) {
        if (lex_.Kind() != Tok::Number) return false;
        std::string_view t = lex_.Text();
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
        if (ec != std::errc() || end != t.data() + t.size()) return false;
        lex_.Advance();
        return true;
    }

    // A count of items that take at least `tokensEach` tokens (one byte each at the least).
    bool Count(uint32_t& n, uint64_t tokensEach) {
        return Uint(n) && static_cast<uint64_t>(n) * tokensEach <= lex_.Remaining();
    }

    // An index below `limit`.
    bool Index(uint32_t& out, uint32_t limit) { return Uint(out) && out < limit; }

    bool Frame(int depth) {
        if (!Header(depth)) return false;
        platform::Matrix local = platform::Identity();
        const size_t first = out_.mesh.vertices.size();
        bool ok = Children(Tok::Close, [&](std::string_view type) {
            if (type == "FrameTransformMatrix")
                return Header(depth + 1) && Transform(local) && SkipBody(depth + 1);
            return DataObject(type, depth);
        });
        if (!ok) return false;
        // Everything inside this frame is already in its parent's space after its own
        // children's transforms; this frame's matrix comes next (child * parent).
        for (size_t i = first; i < out_.mesh.vertices.size(); ++i) {
            MeshData::Vertex& v = out_.mesh.vertices[i];
            Vector3 p = platform::TransformCoord({v.x, v.y, v.z}, local);
            const auto& m = local.m;
            Vector3 n = Normalized({v.nx * m[0][0] + v.ny * m[1][0] + v.nz * m[2][0],
                                    v.nx * m[0][1] + v.ny * m[1][1] + v.nz * m[2][1],
                                    v.nx * m[0][2] + v.ny * m[1][2] + v.nz * m[2][2]});
            v.x = p.x, v.y = p.y, v.z = p.z;
            v.nx = n.x, v.ny = n.y, v.nz = n.z;
        }
        return true;
    }

    bool Material(XMaterial& m, int depth) {
        std::string_view name;
        if (!Header(depth, &name)) return false;
        m = DefaultMaterial();
        if (!Rgb(m.diffuse) || !Float(m.diffuse.a) || !Float(m.power) || !Rgb(m.specular) ||
            !Rgb(m.emissive))
            return false;
        bool ok = Children(Tok::Close, [&](std::string_view type) {
            if (!EqualsNoCase(type, "TextureFilename")) return SkipObject(depth + 1);
            if (!Header(depth + 1) || lex_.Kind() != Tok::String ||
                lex_.Text().size() > kMaxTextureName)
                return false;
            m.textureFile = std::string(lex_.Text());
            lex_.Advance();
            return SkipBody(depth + 1);
        });
        if (!ok) return false;
        if (!name.empty()) named_[std::string(name)] = m;
        return true;
    }

    bool Mesh(int depth) {
        if (!Header(depth)) return false;
        MeshBuild mesh;
        uint32_t count = 0;
        if (!Count(count, 3)) return false;
        mesh.positions.resize(count);
        for (Vector3& p : mesh.positions)
            if (!Vec3(p)) return false;
        const auto vertexCount = static_cast<uint32_t>(mesh.positions.size());

        if (!Count(count, 1)) return false;
        mesh.faceSizes.resize(count);
        for (uint32_t& size : mesh.faceSizes) {
            if (!Count(size, 1)) return false;
            for (uint32_t c = 0; c < size; ++c) {
                uint32_t index = 0;
                if (!Index(index, vertexCount)) return false;
                mesh.corners.push_back(index);
            }
        }

        bool ok = Children(Tok::Close, [&](std::string_view type) {
            return type == "MeshNormals"         ? Normals(mesh, depth + 1)
                   : type == "MeshTextureCoords" ? TextureCoords(mesh, depth + 1)
                   : type == "MeshMaterialList"  ? MaterialList(mesh, depth + 1)
                                                 : SkipObject(depth + 1);
        });
        if (!ok) return false;
        ++meshes_;
        return Flatten(mesh);
    }

    bool Normals(MeshBuild& mesh, int depth) {
        if (!Header(depth)) return false;
        uint32_t count = 0;
        if (!Count(count, 3)) return false;
        mesh.normals.resize(count);
        for (Vector3& n : mesh.normals)
            if (!Vec3(n)) return false;
        // Their own face list, face by face and corner by corner like the mesh's.
        if (!Uint(count) || count != mesh.faceSizes.size()) return false;
        mesh.normalCorners.clear();
        mesh.normalCorners.reserve(mesh.corners.size());
        for (uint32_t size : mesh.faceSizes) {
            uint32_t n = 0;
            if (!Uint(n) || n != size) return false;
            for (uint32_t c = 0; c < size; ++c) {
                uint32_t index = 0;
                if (!Index(index, static_cast<uint32_t>(mesh.normals.size()))) return false;
                mesh.normalCorners.push_back(index);
            }
        }
        return SkipBody(depth);
    }

    bool TextureCoords(MeshBuild& mesh, int depth) {
        if (!Header(depth)) return false;
        uint32_t count = 0;
        if (!Uint(count) || count != mesh.positions.size()) return false;
        mesh.uvs.resize(count);
        for (auto& [u, v] : mesh.uvs)
            if (!Float(u) || !Float(v)) return false;
        return SkipBody(depth);
    }

    bool MaterialList(MeshBuild& mesh, int depth) {
        if (!Header(depth)) return false;
        uint32_t materials = 0, faces = 0;
        if (!Count(materials, 3) || !Uint(faces) || faces > mesh.faceSizes.size()) return false;
        mesh.faceMaterials.clear();
        mesh.faceMaterials.reserve(mesh.faceSizes.size());
        for (uint32_t f = 0; f < faces; ++f) {
            uint32_t index = 0;
            if (!Index(index, materials)) return false;
            mesh.faceMaterials.push_back(index);
        }
        // Some exporters list fewer indices than faces: the last one goes on.
        uint32_t last = mesh.faceMaterials.empty() ? 0 : mesh.faceMaterials.back();
        mesh.faceMaterials.resize(mesh.faceSizes.size(), last);
        if (materials == 0 && !mesh.faceSizes.empty()) return false;

        mesh.materials.clear();
        while (lex_.Kind() != Tok::Close) {
            if (mesh.materials.size() == materials) return false;
            XMaterial m;
            if (lex_.Kind() == Tok::Open) {
                std::string_view name;
                if (!Reference(name)) return false;
                auto it = named_.find(std::string(name));
                if (it == named_.end()) return false;
                m = it->second;
            } else if (lex_.Kind() == Tok::Name && lex_.Text() == "Material") {
                lex_.Advance();
                if (!Material(m, depth + 1)) return false;
            } else if (lex_.Kind() == Tok::Name) {
                lex_.Advance();
                if (!SkipObject(depth + 1)) return false;
                continue;
            } else {
                return false;
            }
            if (m.textureFile.size() > nameBudget_) return false;
            nameBudget_ -= m.textureFile.size();
            mesh.materials.push_back(std::move(m));
        }
        lex_.Advance();
        if (mesh.materials.size() != materials) return false;
        mesh.hasMaterialList = materials > 0;
        return true;
    }

    // Appends the mesh's corners as vertices and its faces as fans of triangles.
    bool Flatten(MeshBuild& mesh) {
        auto& vertices = out_.mesh.vertices;
        if (mesh.corners.size() > UINT32_MAX - vertices.size()) return false;
        const auto materialBase = static_cast<uint32_t>(out_.materials.size());
        if (mesh.hasMaterialList) {
            for (auto& m : mesh.materials) out_.materials.push_back(std::move(m));
        } else {
            out_.materials.push_back(DefaultMaterial());
        }
        vertices.reserve(vertices.size() + mesh.corners.size());
        size_t corner = 0;
        for (size_t f = 0; f < mesh.faceSizes.size(); ++f) {
            const uint32_t size = mesh.faceSizes[f];
            const uint32_t* idx = mesh.corners.data() + corner;
            Vector3 faceNormal{};
            if (mesh.normalCorners.empty()) {
                // Sum of the fan's triangle normals: clockwise faces face the viewer.
                for (uint32_t c = 1; c + 1 < size; ++c) {
                    const Vector3& a = mesh.positions[idx[0]];
                    Vector3 n = Cross(Minus(mesh.positions[idx[c]], a),
                                      Minus(mesh.positions[idx[c + 1]], a));
                    faceNormal = {faceNormal.x + n.x, faceNormal.y + n.y, faceNormal.z + n.z};
                }
                faceNormal = Normalized(faceNormal);
            }
            const auto base = static_cast<uint32_t>(vertices.size());
            for (uint32_t c = 0; c < size; ++c) {
                const Vector3& p = mesh.positions[idx[c]];
                Vector3 n = mesh.normalCorners.empty()
                                ? faceNormal
                                : mesh.normals[mesh.normalCorners[corner + c]];
                auto [u, v] = mesh.uvs.empty() ? std::pair{0.0f, 0.0f} : mesh.uvs[idx[c]];
                vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, u, v});
            }
            const uint32_t material =
                materialBase + (mesh.hasMaterialList ? mesh.faceMaterials[f] : 0);
            for (uint32_t c = 1; c + 1 < size; ++c) {
                triangles_.insert(triangles_.end(), {base, base + c, base + c + 1});
                triangleMaterials_.push_back(material);
            }
            corner += size;
        }
        return true;
    }

    // Orders the triangles by material: subset i holds the faces of material i.
    bool Finish() {
        MeshData& mesh = out_.mesh;
        const size_t materials = out_.materials.size();
        // A model with nothing to draw is no model.
        if (triangles_.empty() || triangles_.size() > UINT32_MAX) return false;
        mesh.subsets.assign(materials, {});
        for (uint32_t m : triangleMaterials_) mesh.subsets[m].indexCount += 3;
        uint32_t start = 0;
        for (auto& s : mesh.subsets) {
            s.indexStart = start;
            start += s.indexCount;
        }
        std::vector<uint32_t> next(materials);
        for (size_t i = 0; i < materials; ++i) next[i] = mesh.subsets[i].indexStart;
        mesh.indices.resize(triangles_.size());
        for (size_t t = 0; t < triangleMaterials_.size(); ++t) {
            uint32_t& at = next[triangleMaterials_[t]];
            std::copy_n(triangles_.begin() + static_cast<ptrdiff_t>(t * 3), 3,
                        mesh.indices.begin() + at);
            at += 3;
        }
        return true;
    }

    Lexer lex_;
    XModel& out_;
    size_t nameBudget_;
    int meshes_ = 0;
    std::map<std::string, XMaterial, std::less<>> named_;
    std::vector<uint32_t> triangles_;
    std::vector<uint32_t> triangleMaterials_;
};

// "xof 0302txt 0032": format version 3.x, text, 32- or 64-bit floats.
bool TextHeader(const uint8_t* data, size_t size) {
    if (size < 16) return false;
    std::string_view h(reinterpret_cast<const char*>(data), 16);
    auto digits = [&](size_t at) {
        for (size_t i = at; i < at + 4; ++i)
            if (h[i] < '0' || h[i] > '9') return false;
        return true;
    };
    return h.substr(0, 4) == "xof " && h.substr(4, 2) == "03" && digits(4) &&
           h.substr(8, 4) == "txt " && (h.substr(12, 4) == "0032" || h.substr(12, 4) == "0064");
}

} // namespace

bool ParseXFile(const uint8_t* data, size_t size, XModel& out) {
    out = XModel{};
    if (!data || !TextHeader(data, size)) return false;
    XParser parser(data + 16, size - 16, out);
    return parser.Parse();
}
