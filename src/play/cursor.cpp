// The cursor-move table.
#include "play/cursor.h"

#include <algorithm>

#include "platform/keyboard.h"

using namespace platform;

const CursorKeyMap kArrowKeys = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SHIFT};
const CursorKeyMap kVersusLeftKeys = {'G', 'B', 'V', 'N', VK_SHIFT};
const CursorKeyMap kVersusRightKeys = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN};

namespace {
bool Held(int vk) {
    return GetAsyncKeyState(vk) != 0;
}
} // namespace

int CursorIndex(const CursorState& c) {
    return ((c.face * kSlices + c.x) * kRows + c.y) * kDepth + c.z;
}

CursorState CursorOfIndex(int index) {
    CursorState c;
    c.z = index % kDepth;
    index /= kDepth;
    c.y = index % kRows;
    index /= kRows;
    c.x = index % kSlices;
    c.face = index / kSlices;
    return c;
}

bool ValidCursor(const CursorState& c) {
    if (c.y < 0 || c.y >= kRows || c.x < 0 || c.z < 0) return false;
    return c.face == 0 ? c.x <= 4 && c.z <= 4 : c.face == 1 && c.x <= 5 && c.z <= 3;
}

CursorKeys ReadCursorKeys(const CursorKeyMap& map) {
    CursorKeys k;
    (k.up = Held(map.up)) || (k.down = Held(map.down)) || (k.left = Held(map.left)) ||
        (k.right = Held(map.right));
    return k;
}

void MoveDeeper(PlayBoard& b) {
    if (b.CursorFlg == 0) {
        ++b.BlockZ, ++b.LeftClearFlg;
        if (b.LeftClearFlg >= 3) b.LeftClearFlg = 3, b.BlockZ = 4;
    } else {
        --b.BlockX, --b.RightClearFlg;
        if (b.RightClearFlg <= 1) b.RightClearFlg = 1, b.BlockX = 0;
    }
}

void MoveShallower(PlayBoard& b) {
    if (b.CursorFlg == 0) {
        --b.BlockZ, --b.LeftClearFlg;
        if (b.LeftClearFlg <= -1) b.LeftClearFlg = -1, b.BlockZ = 0;
    } else {
        ++b.BlockX, ++b.RightClearFlg;
        if (b.RightClearFlg >= 6) b.RightClearFlg = 6, b.BlockX = 5;
    }
}

bool MoveCursor(PlayBoard& b, const CursorKeys& keys) {
    bool front = b.CursorFlg == 0;
    if (keys.up) {
        if (b.ModifierLatch) return MoveDeeper(b), true;
        if (b.BlockY >= 11) return false;
        ++b.BlockY;
        return true;
    }
    if (keys.down) {
        if (b.ModifierLatch) return MoveShallower(b), true;
        if (b.BlockY <= 0) return false;
        --b.BlockY;
        return true;
    }
    if (keys.left) {
        if (front) {
            if (b.BlockX <= 0) return false;
            --b.BlockX;
        } else if (--b.BlockZ < 0) { // round the corner to the front face
            b.CursorFlg = 0, b.RightClearFlg = 6, b.BlockZ = 0, b.BlockX = 4;
        }
        return true;
    }
    if (keys.right) {
        if (front) {
            if (++b.BlockX > 4) { // round the corner to the right face
                b.CursorFlg = 1, b.LeftClearFlg = -1, b.BlockX = 5;
                b.BlockZ = std::min(b.BlockZ, 3); // its pair must stay on the board
            }
        } else {
            if (b.BlockZ >= 3) return false;
            ++b.BlockZ;
        }
        return true;
    }
    return false;
}

void StepCursor(PlayBoard& b, const CursorKeyMap& map, int32_t& moveWait) {
    b.ModifierLatch = Held(map.modifier) ? 1 : 0;
    if (moveWait > 15 && MoveCursor(b, ReadCursorKeys(map))) {
        moveWait = 0;
        RefreshCursorPos(b);
    }
    ++moveWait;
}
