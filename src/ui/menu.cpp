// Marker menus.
#include "ui/menu.h"

#include "media/draw.h"
#include "platform/keyboard.h"

using namespace platform;

bool StepMarkerMenu(const MarkerMenu& menu, int32_t& item, int32_t& wait, Vector3& left,
                    Vector3& right) {
    if (wait < menu.actAt) {
        ++wait;
        return false;
    }
    int32_t last = menu.first + menu.count;
    bool held = true, moved = false;
    if (GetAsyncKeyState(menu.upKey) != 0) {
        if (item > menu.first) {
            --item;
            const MarkerStep& s = menu.steps[item - menu.first];
            left.x -= s.leftX, left.y -= s.leftY, right.x -= s.rightX, right.y -= s.rightY;
            moved = true;
        }
    } else if (GetAsyncKeyState(menu.downKey) != 0) {
        if (item < last) {
            const MarkerStep& s = menu.steps[item - menu.first];
            left.x += s.leftX, left.y += s.leftY, right.x += s.rightX, right.y += s.rightY;
            ++item;
            moved = true;
        }
    } else {
        held = false;
    }
    if (moved || (held && menu.refusalResets))
        wait = menu.resetTo;
    else
        ++wait;
    return moved;
}

void DrawMarkerScreen(GraphicsDevice& device, Texture* screen, const ModelRecord& marker,
                      int32_t spin, const Vector3& left, const Vector3& right, float alpha) {
    DrawBackdrop(device, screen, -23.0f, 12.0f, 23.0f, -12.0f, 0.0f, Identity());
    float angle = static_cast<float>(spin) * kDegToRad;
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD, RotationY(angle) * Translation(left.x, left.y, left.z));
    DrawModel(marker, alpha, device);
    device.SetTransform(TS_WORLD, RotationY(-angle) * Translation(right.x, right.y, right.z));
    DrawModel(marker, alpha, device);
    device.SetRenderState(RS_LIGHTING, 0);
    device.SetRenderState(RS_CLIPPLANEENABLE, CLIPPLANE0);
}
