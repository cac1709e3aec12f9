// The endless mode's 3D scene: background, board with its cut-away, the next row, walls, the
// ceiling, the cursor; or the pause / end screen with its two spinning markers.
#include "media/draw.h"
#include "modes/endless/endless.h"
#include "platform/system.h"
#include "play/draw.h"
#include "ui/menu.h"

using namespace platform;

namespace {

constexpr float kQuarterTurn = 0.7853982f; // pi/4

constexpr BoardPlacement kPlacement{{-5.0f, -6.0f, 0.0f}, {2.0f, 1.7f, 1.7f}, kQuarterTurn, -0.8f};

constexpr WallQuad kWalls[2] = {
    {-10.0f, 11.2f, 6.5f, -10.5f, {-3.0f, -0.7f, 8.2f}, kQuarterTurn, true},
    {-3.7f, 11.2f, 10.0f, -10.5f, {2.0f, -0.7f, 11.0f}, -0.837758f, false},
};

// Over the cursor cell and its partner, just in front of the front face or outside the right.
constexpr BoardCursor kCursor{{
    {-0.2f, 0.6f, 1.8f, -0.4f, -0.48f, -5.0f, -6.0f, 0.0f, {2.0f, 1.7f, 1.7f}, kQuarterTurn},
    {-0.5f, 0.6f, 1.5f, -0.4f, -0.7f, -5.0f, -6.0f, 0.0f, {1.7f, 1.7f, 2.0f}, -kQuarterTurn},
}};

void DrawAt(GraphicsDevice& device, const ModelRecord& model, const Matrix& world, float alpha) {
    device.SetTransform(TS_WORLD, world);
    DrawModel(model, alpha, device);
}

void DrawPlay(GraphicsDevice& device) {
    const EndlessMode& e = Endless;
    DrawBackdrop(device, e.background.get(), -41.0f, 39.1f, 42.7f, -43.8f, 10.0f,
                 Translation(4.3f, -19.4f, 4.0f));

    device.SetRenderState(RS_LIGHTING, 1);
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    DrawBoard(device, e, e.cc, e.models, kPlacement, kEndlessLook, e.BlockAlpha, &e.NextRow);
    DrawWalls(device, e.wall.get(), kWalls, 2);

    DrawAt(device, e.models[e.TopWarn ? 8 : 6],
           Scaling(15.5f, 1.0f, 10.5f) * RotationY(0.767945f) * Translation(-2.7f, 9.3f, 3.5f),
           0.5f);

    device.Clear(0, nullptr, CLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    DrawBoardCursor(device, e, e.cc, kCursor, e.cursor[e.CursorFrame].get(), e.pulse.Color());
}

void DrawMenu(GraphicsDevice& device, Texture* screen) {
    const EndlessMode& e = Endless;
    DrawMarkerScreen(device, screen, e.models[2], e.MarkerAngle, e.MarkerL, e.MarkerR,
                     e.BlockAlpha);
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
