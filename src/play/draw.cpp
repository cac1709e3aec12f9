// Drawing of a player's board, its walls and its cursor.
#include "play/draw.h"

#include "media/draw.h"

using namespace platform;

Matrix CellWorld(const BoardPlacement& p, float x, float y, float z, float cc) {
    return Translation(x + p.offset.x, y + p.offset.y + cc, z + p.offset.z) *
           Scaling(p.scale.x, p.scale.y, p.scale.z) * RotationY(p.turn);
}

namespace {

// The model a cell shows with: kinds 1..5 and garbage their own, marked cells model 6.
const ModelRecord* CellModel(const ModelRecord models[14], int32_t v) {
    if ((v >= 1 && v <= 5) || v == kGarbage) return &models[v];
    if (v < 0) return &models[6];
    return nullptr;
}

void DrawAt(GraphicsDevice& device, const ModelRecord& model, const Matrix& world, float alpha) {
    device.SetTransform(TS_WORLD, world);
    DrawModel(model, alpha, device);
}

} // namespace

void DrawBoard(GraphicsDevice& device, const PlayBoard& b, float cc, const ModelRecord models[14],
               const BoardPlacement& place, const BoardLook& look, float alpha,
               const NextRow* next) {
    auto cells = [&](auto&& visit) {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) visit(x, y, z, b.grid[x][y][z]);
    };
    auto world = [&](int x, float y, int z) {
        return CellWorld(place, static_cast<float>(x), y, static_cast<float>(z), cc);
    };
    auto solid = [&](int x, int z) { return !CutAwayZ(b, z) && !CutAwayX(b, x); };

    cells([&](int x, int y, int z, int32_t v) {
        if (!solid(x, z) || (v < 0 && !look.solidMarked)) return;
        if (const ModelRecord* m = CellModel(models, v)) DrawAt(device, *m, world(x, y, z), alpha);
    });
    if (look.vanishWireframe) device.SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    cells([&](int x, int y, int z, int32_t v) {
        if (!solid(x, z) || v >= 0) return;
        if (look.vanishWireframe)
            DrawAt(device, models[6], world(x, y, z), alpha);
        else if (v >= -5)
            DrawAt(device, models[8 - v], world(x, y, z), alpha);
    });
    if (look.vanishWireframe) device.SetRenderState(RS_FILLMODE, FILL_SOLID);
    // A cell in both cut-away regions shows twice.
    cells([&](int x, int y, int z, int32_t v) {
        const ModelRecord* m = CellModel(models, v);
        if (!m) return;
        if (CutAwayZ(b, z)) DrawAt(device, *m, world(x, y, z), kGhostAlpha);
        if (CutAwayX(b, x)) DrawAt(device, *m, world(x, y, z), kGhostAlpha);
    });
    if (!next) return;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            int32_t v = (*next)[x][z];
            if (v < 1 || v > 5) continue;
            float a = CutAwayZ(b, z) || CutAwayX(b, x) ? kGhostAlpha : kNextRowAlpha;
            DrawAt(device, models[v], world(x, place.nextRowY, z), a);
        }
}

void DrawWalls(GraphicsDevice& device, Texture* texture, const WallQuad* walls, int count) {
    for (int i = 0; i < count; ++i) {
        const WallQuad& w = walls[i];
        if (w.material) {
            Material m;
            m.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
            m.Emissive = {0.8f, 0.8f, 0.8f, 0.0f};
            device.SetMaterial(m);
        }
        if (i == 0) {
            device.SetRenderState(RS_LIGHTING, 1);
            device.SetFVF(kWallFvf);
            device.SetTexture(0, texture);
        }
        WallVertex v[4];
        MakeWall(v, w.left, w.top, w.right, w.bottom, 0.0f);
        device.SetTransform(TS_WORLD, Translation(w.at.x, w.at.y, w.at.z) * RotationY(w.turn));
        DrawFan(device, v);
    }
}

void CursorPulse::Step() {
    Pulse += PulseStep;
    if (Pulse > 255) Pulse = 255, PulseStep = -PulseStep;
    if (Pulse < 0) Pulse = 0, PulseStep = -PulseStep;
}

Color CursorPulse::Color() const {
    uint32_t p = static_cast<uint32_t>(Pulse);
    return 0xFFFF0000u | p << 8 | p;
}

void DrawBoardCursor(GraphicsDevice& device, const PlayBoard& b, float cc,
                     const BoardCursor& cursor, Texture* texture, Color color) {
    const CursorFace& f = cursor.faces[b.CursorFlg == 0 ? 0 : 1];
    const Vector3& p = b.CursorPos;
    QuadVertex v[4];
    MakeQuad(v, f.left, f.top, f.right, f.bottom, f.z, color);
    Matrix at = b.CursorFlg == 0 ? Translation(p.x + f.dx, p.y + f.dy + cc, p.z + f.dz)
                                 : Translation(p.z + f.dz, p.y + f.dy + cc, -(p.x + f.dx));
    device.SetTexture(0, texture);
    device.SetTransform(TS_WORLD,
                        at * Scaling(f.scale.x, f.scale.y, f.scale.z) * RotationY(f.turn));
    DrawFan(device, v);
}
