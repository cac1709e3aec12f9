// Marker menus.
#include "ui/menu.h"

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
