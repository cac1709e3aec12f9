// The cursor-move table shared by every play mode: one function over a board and a snapshot
// of the player's keys; the modes differ only in which keys they read.
#pragma once

#include <cstdint>

#include "play/board.h"

// The cursor as a state of its move graph: face (CursorFlg), X, Y, Z; the cut-away follows
// from them. The states are numbered 0 .. kCursorStates - 1 for tables over them.
struct CursorState {
    int face = 0, x = 0, y = 0, z = 0;
    bool operator==(const CursorState&) const = default;
};
constexpr int kCursorStates = 2 * kSlices * kRows * kDepth;
int CursorIndex(const CursorState& c);
CursorState CursorOfIndex(int index);
// Whether the cursor can stand there: pairs along X up to X 4, along Z up to Z 3.
bool ValidCursor(const CursorState& c);

// The virtual keys of one player's cursor.
struct CursorKeyMap {
    int up, down, left, right;
    int modifier; // held: up / down move into / out of the board
};
// Endless and challenge: arrows and Shift. Versus: left side G B V N and Shift, right side
// arrows and Enter.
extern const CursorKeyMap kArrowKeys;
extern const CursorKeyMap kVersusLeftKeys;
extern const CursorKeyMap kVersusRightKeys;

// The direction keys of a map as the table takes them: up, down, left, right are queried in
// this order and the queries stop at the first one held (a query clears the key's "pressed
// since the last query" bit, so keys are queried only when a move may act). The modifier is
// read on its own every frame into the board's ModifierLatch (StepCursor).
struct CursorKeys {
    bool up = false, down = false, left = false, right = false;
};
CursorKeys ReadCursorKeys(const CursorKeyMap& map);

// Applies the first of up, down, left, right that is held. Up / down move a row, or with
// the board's ModifierLatch one slice deeper / shallower (MoveDeeper, MoveShallower); left /
// right move along the face and turn the corner between the front and the right face.
// Returns false when nothing acted: no key, or up / down at the end of the rows, left at X 0
// on the front face, right at Z 3 on the right face. A depth move at its limit does act.
// CursorPos is not refreshed here (see StepCursor).
bool MoveCursor(PlayBoard& b, const CursorKeys& keys);

// One slice into / out of the board on the cursor's face, the cut-away following; clamped
// at the innermost / outermost slice. Versus's depth key calls these directly, then
// RefreshCursorPos.
void MoveDeeper(PlayBoard& b);
void MoveShallower(PlayBoard& b);

// The cursor's part of a play frame: ModifierLatch = the map's modifier held; then, when
// `moveWait` is above 15, the keys are read (ReadCursorKeys) and MoveCursor applied; if it
// acted, CursorPos is refreshed and `moveWait` set to 0; in every case `moveWait` then grows
// by one. A held key thus acts at once after a rest and repeats every 16 frames.
void StepCursor(PlayBoard& b, const CursorKeyMap& map, int32_t& moveWait);
