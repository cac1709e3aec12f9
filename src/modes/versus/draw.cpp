// The versus mode's 3D scene: background, both boards with their cut-away, ghosts and coming
// rows, the four walls and both cursors; or the pause / end screen with its spinning markers.
#include "media/draw.h"
#include "modes/versus/versus.h"
#include "platform/system.h"
#include "play/draw.h"
#include "ui/menu.h"

using namespace platform;

namespace {

constexpr float kLeftTurn = 0.43633232f;  // 25 degrees
constexpr float kRightTurn = 0.95993108f; // 55 degrees

// The left board stands left of the divider, the right board right of it, each turned
// towards the viewer by its own angle.
constexpr BoardPlacement kLeftBoard{{-9.5f, -5.5f, -4.5f}, {1.7f, 1.5f, 1.5f}, kLeftTurn, -1.0f};
constexpr BoardPlacement kRightBoard{{2.0f, -5.5f, 3.0f}, {1.2f, 1.5f, 2.3f}, kRightTurn, -1.0f};

constexpr WallQuad kWalls[4] = {
    {-10.0f, 11.2f, 7.5f, -10.5f, {-13.5f, -0.7f, 0.0f}, 0.52359879f, true},
    {1.5f, 11.2f, 10.0f, -10.5f, {-10.0f, -0.7f, 19.0f}, -1.0471976f, false},
    {-10.0f, 11.2f, -2.0f, -10.5f, {11.5f, -0.7f, 18.0f}, kRightTurn, true},
    {0.0f, 11.2f, 15.5f, -10.5f, {5.0f, -0.7f, -2.0f}, -0.69813168f, false},
};

// Over the cursor cell and its partner: in front of the front face, or outside the right face
// standing across the board.
constexpr BoardCursor kLeftCursor{{
    {-0.1f, 0.6f, 1.9f, -0.4f, -0.48f, -9.5f, -5.5f, -4.5f, {1.7f, 1.5f, 1.5f}, kLeftTurn},
    {-0.5f, 0.5f, 1.5f, -0.5f, -0.7f, -9.5f, -5.5f, -4.5f, {1.5f, 1.5f, 1.7f}, -1.0471976f},
}};
constexpr BoardCursor kRightCursor{{
    {-0.2f, 1.6f, 1.7f, 0.6f, -0.48f, 2.0f, -6.5f, 3.0f, {1.2f, 1.5f, 2.3f}, kRightTurn},
    {-0.1f, 1.5f, 1.9f, 0.5f, -0.4f, 2.0f, -6.5f, 3.0f, {2.3f, 1.5f, 1.2f}, -0.61086524f},
}};

void DrawPlay(GraphicsDevice& device) {
    VersusMode& v = Versus;
    DrawBackdrop(device, v.background.get(), -41.0f, 39.1f, 42.7f, -43.8f, 10.0f,
                 Translation(4.3f, -19.4f, 4.0f));
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
    for (const VersusSide* s : {&v.left, &v.right})
        DrawBoard(device, *s, s->cc, v.models, s == &v.left ? kLeftBoard : kRightBoard, kVersusLook,
                  s->BlockAlpha, &s->NextRow);
    DrawWalls(device, v.wall.get(), kWalls, 4);

    // The cursors lie over everything.
    device.Clear(0, nullptr, CLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device.SetRenderState(RS_CLIPPLANEENABLE, 0);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    DrawBoardCursor(device, v.left, v.left.cc, kLeftCursor, v.cursor.get(), v.left.pulse.Color());
    DrawBoardCursor(device, v.right, v.right.cc, kRightCursor, v.cursor.get(),
                    v.right.pulse.Color());
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
}

} // namespace

void VersusDraw() {
    GraphicsDevice& device = *Device();
    VersusMode& v = Versus;
    if (v.GameFlg <= 4)
        DrawPlay(device);
    else if (v.GameFlg == 5)
        DrawMarkerScreen(device, v.pause.get(), v.models[2], v.MenuSpin, v.MarkerPos[0],
                         v.MarkerPos[1], v.left.BlockAlpha);
    else if (v.GameFlg == 6)
        DrawMarkerScreen(device, v.endScreen.get(), v.models[2], v.MenuSpin, v.MarkerPos[0],
                         v.MarkerPos[1], 1.0f);
}
