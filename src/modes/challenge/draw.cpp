// The challenge mode's 3D scene: background, the board with its cut-away (solid, wireframe
// vanishing, faint ghosts), walls, the lid, the cursor over everything; or the pause / end
// screen with its two spinning markers.
#include "media/draw.h"
#include "modes/challenge/challenge.h"
#include "platform/d3dmath.h"
#include "platform/system.h"
#include "play/draw.h"

using namespace platform;

namespace {

constexpr float kQuarterTurn = 0.7853982f; // pi/4

constexpr BoardPlacement kPlacement{{-5.0f, -6.0f, 0.0f}, {2.0f, 1.7f, 1.7f}, kQuarterTurn, 0.0f};

constexpr WallQuad kWalls[2] = {
    {-10.0f, 11.2f, 6.5f, -11.5f, {-3.0f, -0.7f, 8.2f}, kQuarterTurn, true},
    {-3.7f, 11.2f, 10.0f, -11.0f, {2.0f, -0.7f, 11.0f}, -0.8377581f, false},
};

// Over the cursor cell and its partner, just in front of the front face or outside the right.
constexpr BoardCursor kCursor{{
    {-0.2f, 0.7f, 1.8f, -0.3f, -0.48f, -5.0f, -6.0f, 0.0f, {2.0f, 1.7f, 1.7f}, kQuarterTurn},
    {-0.5f, 0.7f, 1.5f, -0.3f, -0.7f, -5.0f, -6.0f, 0.0f, {1.7f, 1.7f, 2.0f}, -kQuarterTurn},
}};

void FlatPicture(GraphicsDevice& device, Texture* texture, float left, float top, float right,
                 float bottom, float z, const Matrix& world) {
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    device.SetTexture(0, texture);
    device.SetTransform(TS_WORLD, world);
    QuadVertex v[4];
    MakeQuad(v, left, top, right, bottom, z);
    DrawFan(device, v);
}

void DrawPlay(GraphicsDevice& device) {
    const ChallengeMode& c = Challenge;
    FlatPicture(device, c.background.get(), -41.0f, 39.1f, 42.7f, -43.8f, 10.0f,
                Translation(4.3f, -19.4f, 4.0f));
    device.SetRenderState(RS_LIGHTING, 1);
    DrawBoard(device, c, 0.0f, c.models, kPlacement, kChallengeLook, c.BlockAlpha, nullptr);
    DrawWalls(device, c.wall.get(), kWalls, 2);
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD, Scaling(15.5f, 1.0f, 10.5f) * RotationY(0.7679449f) *
                                      Translation(-2.7f, 9.3f, 3.5f));
    DrawModel(c.models[6], 0.5f, device); // the lid

    // The cursor lies over everything.
    device.Clear(0, nullptr, CLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    DrawBoardCursor(device, c, 0.0f, kCursor, c.cursor[c.CursorFrame].get(), c.pulse.Color());
}

void DrawMenu(GraphicsDevice& device, Texture* screen, float top, float bottom) {
    const ChallengeMode& c = Challenge;
    FlatPicture(device, screen, -23.0f, top, 23.0f, bottom, 0.0f, Identity());
    const float angle = static_cast<float>(c.MarkerAngle) * 0.017453292f;
    for (int side = 0; side < 2; ++side) {
        const Vector3& at = side == 0 ? c.MarkerL : c.MarkerR;
        device.SetRenderState(RS_LIGHTING, 1);
        device.SetTransform(TS_WORLD,
                            RotationY(side == 0 ? angle : -angle) * Translation(at.x, at.y, at.z));
        DrawModel(c.models[4], c.BlockAlpha, device);
        device.SetRenderState(RS_LIGHTING, 0);
    }
}

} // namespace

void ChallengeDraw() {
    GraphicsDevice& device = *Device();
    const ChallengeMode& c = Challenge;
    if (c.GameFlg >= 2 && c.GameFlg <= 6) DrawPlay(device);
    if (c.GameFlg == 7) DrawMenu(device, c.pause.get(), 11.6f, -11.5f);
    if (c.GameFlg == 8) DrawMenu(device, c.endScreen.get(), 12.0f, -12.0f);
}
