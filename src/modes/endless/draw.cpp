// The endless mode's 3D scene: background, board with its cut-away, the next row, walls, the
// ceiling, the cursor; or the pause / end screen with its two spinning markers.
#include "media/draw.h"
#include "modes/endless/endless.h"
#include "platform/system.h"

using namespace platform;

namespace {

constexpr float kQuarterTurn = 0.7853982f; // pi/4

// The board's cell composition: translate, scale, turn the board by 45 degrees.
Matrix CellWorld(float x, float y, float z) {
    return Translation(x - 5.0f, y - 6.0f + Endless.cc, z) * Scaling(2.0f, 1.7f, 1.7f) *
           RotationY(kQuarterTurn);
}

bool SeeThroughZ(int z) {
    return z <= Endless.LeftClearFlg;
}
bool SeeThroughX(int x) {
    return x >= Endless.RightClearFlg;
}

void DrawAt(GraphicsDevice& device, const ModelRecord& model, const Matrix& world, float alpha) {
    device.SetTransform(TS_WORLD, world);
    DrawModel(model, alpha, device);
}

void DrawBoard(GraphicsDevice& device) {
    EndlessMode& e = Endless;
    auto cells = [&](auto&& visit) {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) visit(x, y, z, e.grid[x][y][z]);
    };
    // Solid blocks, then the vanishing ones, in the slices that are not cut away.
    cells([&](int x, int y, int z, int32_t v) {
        if (v >= 1 && v <= 5 && !SeeThroughZ(z) && !SeeThroughX(x))
            DrawAt(device, e.models[v], CellWorld(x, y, z), e.BlockAlpha);
    });
    cells([&](int x, int y, int z, int32_t v) {
        if (v <= -1 && v >= -5 && !SeeThroughZ(z) && !SeeThroughX(x))
            DrawAt(device, e.models[8 - v], CellWorld(x, y, z), e.BlockAlpha);
    });
    // Ghosts of the cut-away slices; a cell in both regions shows twice.
    cells([&](int x, int y, int z, int32_t v) {
        const ModelRecord* model = v >= 1 && v <= 5     ? &e.models[v]
                                   : v <= -1 && v >= -5 ? &e.models[6]
                                                        : nullptr;
        if (!model) return;
        e.BlockAlpha = 0.1f;
        if (SeeThroughZ(z)) DrawAt(device, *model, CellWorld(x, y, z), e.BlockAlpha);
        if (SeeThroughX(x)) DrawAt(device, *model, CellWorld(x, y, z), e.BlockAlpha);
        e.BlockAlpha = 1.0f;
    });
    // The coming row, just under the board.
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            int32_t v = e.NextRow[x][z];
            if (v < 1 || v > 5) continue;
            float alpha = SeeThroughZ(z) || SeeThroughX(x) ? 0.1f : 0.3f;
            DrawAt(device, e.models[v], CellWorld(x, -0.8f, z), alpha);
        }
}

void DrawWalls(GraphicsDevice& device) {
    Material m;
    m.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m.Emissive = {0.8f, 0.8f, 0.8f, 0.0f};
    device.SetMaterial(m);
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetFVF(kWallFvf);
    device.SetTexture(0, Endless.wall.get());
    WallVertex v[4];
    MakeWall(v, -10.0f, 11.2f, 6.5f, -10.5f, 0.0f);
    device.SetTransform(TS_WORLD, Translation(-3.0f, -0.7f, 8.2f) * RotationY(kQuarterTurn));
    DrawFan(device, v);
    MakeWall(v, -3.7f, 11.2f, 10.0f, -10.5f, 0.0f);
    device.SetTransform(TS_WORLD, Translation(2.0f, -0.7f, 11.0f) * RotationY(-0.837758f));
    DrawFan(device, v);
}

// The pulse swings the cursor between red and white, 4 levels a frame.
Color CursorColor() {
    EndlessMode& e = Endless;
    e.Pulse += e.PulseStep;
    if (e.Pulse > 255) e.Pulse = 255, e.PulseStep = -e.PulseStep;
    if (e.Pulse < 0) e.Pulse = 0, e.PulseStep = -e.PulseStep;
    uint32_t p = static_cast<uint32_t>(e.Pulse);
    return 0xFFFF0000u | p << 8 | p;
}

void DrawCursor(GraphicsDevice& device) {
    EndlessMode& e = Endless;
    QuadVertex v[4];
    const Vector3& p = e.CursorPos;
    Matrix world;
    if (e.CursorFlg == 0) { // spans the cursor cell and its X + 1 partner, just in front
        MakeQuad(v, -0.2f, 0.6f, 1.8f, -0.4f, -0.48f, CursorColor());
        world = Translation(p.x - 5.0f, p.y - 6.0f + e.cc, p.z) * Scaling(2.0f, 1.7f, 1.7f) *
                RotationY(kQuarterTurn);
    } else { // spans the cell and its Z + 1 partner, just outside the right face
        MakeQuad(v, -0.5f, 0.6f, 1.5f, -0.4f, -0.7f, CursorColor());
        world = Translation(p.z, p.y - 6.0f + e.cc, -(p.x - 5.0f)) * Scaling(1.7f, 1.7f, 2.0f) *
                RotationY(-kQuarterTurn);
    }
    device.SetTexture(0, e.cursor[e.CursorFrame].get());
    device.SetTransform(TS_WORLD, world);
    DrawFan(device, v);
}

// A flat picture behind the scene: lighting and clipping off, the quad from (left, top) to
// (right, bottom) at depth z.
void DrawBackdrop(GraphicsDevice& device, Texture* texture, float left, float top, float right,
                  float bottom, float z, const Matrix& world) {
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetRenderState(RS_CLIPPLANEENABLE, 0);
    device.SetFVF(kQuadFvf);
    QuadVertex v[4];
    MakeQuad(v, left, top, right, bottom, z);
    device.SetTexture(0, texture);
    device.SetTransform(TS_WORLD, world);
    DrawFan(device, v);
}

void DrawPlay(GraphicsDevice& device) {
    EndlessMode& e = Endless;
    DrawBackdrop(device, e.background.get(), -41.0f, 39.1f, 42.7f, -43.8f, 10.0f,
                 Translation(4.3f, -19.4f, 4.0f));

    device.SetRenderState(RS_LIGHTING, 1);
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    DrawBoard(device);
    DrawWalls(device);

    e.BlockAlpha = 0.5f;
    DrawAt(device, e.models[e.TopWarn ? 8 : 6],
           Scaling(15.5f, 1.0f, 10.5f) * RotationY(0.767945f) * Translation(-2.7f, 9.3f, 3.5f),
           e.BlockAlpha);
    e.BlockAlpha = 1.0f;

    device.Clear(0, nullptr, CLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    DrawCursor(device);
}

void DrawMenu(GraphicsDevice& device, Texture* screen) {
    EndlessMode& e = Endless;
    DrawBackdrop(device, screen, -23.0f, 12.0f, 23.0f, -12.0f, 0.0f, Identity());

    float angle = static_cast<float>(e.MarkerAngle) * kDegToRad;
    device.SetRenderState(RS_LIGHTING, 1);
    DrawAt(device, e.models[2],
           RotationY(angle) * Translation(e.MarkerL.x, e.MarkerL.y, e.MarkerL.z), e.BlockAlpha);
    DrawAt(device, e.models[2],
           RotationY(-angle) * Translation(e.MarkerR.x, e.MarkerR.y, e.MarkerR.z), e.BlockAlpha);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
}

} // namespace

void EndlessDraw() {
    GraphicsDevice& device = *Device();
    switch (Endless.GameFlg) {
    case 0:
    case 1:
    case 2:
    case 3:
        DrawPlay(device);
        break;
    case 5:
        DrawMenu(device, Endless.pause.get());
        break;
    case 6:
        DrawMenu(device, Endless.endScreen.get());
        break;
    default:
        break;
    }
}
