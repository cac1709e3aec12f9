// Drawing of a player's board: the cell passes by placement and look, walls from a table, the
// board cursor with its colour pulse. Drawing reads the board; nothing here changes it.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "platform/graphics.h"
#include "play/board.h"

// Where a board stands: cell (X, Y, Z) has the world T(X + offset.x, Y + offset.y + cc,
// Z + offset.z) x S(scale) x R(turn about the vertical axis), row vectors. The coming row is
// drawn as cells of row `nextRowY`.
struct BoardPlacement {
    platform::Vector3 offset;
    platform::Vector3 scale;
    float turn;
    float nextRowY;
};
platform::Matrix CellWorld(const BoardPlacement& p, float x, float y, float z, float cc);

// How a mode draws its cells. Models are indexed by file number: kinds 1..5, 6 neutral,
// 7 garbage, 9..13 the vanishing overlays of kinds 1..5.
//  - solid pass (cells not cut away): kinds 1..5 and garbage with their models; marked cells
//    (negative) with model 6 when `solidMarked`, else not at all;
//  - vanishing pass (not cut away, negative): overlay 9..13 for -1..-5, or, when
//    `vanishWireframe`, model 6 with wireframe fill (solid fill again after the pass);
//  - ghost pass: every kind, garbage or marked cell (model 6) that is cut away, at alpha 0.1,
//    once for Z <= LeftClearFlg and once more for X >= RightClearFlg;
//  - next-row pass (when a row is given): kinds 1..5 at alpha 0.3, or 0.1 in a cut-away slice.
struct BoardLook {
    bool solidMarked = false;
    bool vanishWireframe = false;
};
constexpr BoardLook kEndlessLook{};
constexpr BoardLook kChallengeLook{.solidMarked = false, .vanishWireframe = true};
constexpr BoardLook kVersusLook{.solidMarked = true, .vanishWireframe = false};

constexpr float kGhostAlpha = 0.1f;
constexpr float kNextRowAlpha = 0.3f;

// The four passes above, each over X, then Y, then Z. `alpha` is the board's block alpha for
// the solid and vanishing passes; `next` may be null (no next row). `cc` is 0 for a board
// that does not rise.
void DrawBoard(platform::GraphicsDevice& device, const PlayBoard& b, float cc,
               const ModelRecord models[14], const BoardPlacement& place, const BoardLook& look,
               float alpha, const NextRow* next);

// A textured wall: the quad from (left, top) to (right, bottom) at z 0, normal (0, 0, -1),
// world T(at) x R(turn). `material`: set the wall material (diffuse 1, emissive 0.8) first.
struct WallQuad {
    float left, top, right, bottom;
    platform::Vector3 at;
    float turn;
    bool material;
};
// Lighting on, wall vertex format and texture (once, after the first wall's material), then
// every wall of the table in order.
void DrawWalls(platform::GraphicsDevice& device, platform::Texture* texture, const WallQuad* walls,
               int count);

// The cursor's colour pulse: the level swings 0..255 by `PulseStep` a frame, turning at the
// ends; the colour is red with green and blue at the level (red to white).
struct CursorPulse {
    int32_t Pulse = 0;
    int32_t PulseStep = 4;
    void Step();
    platform::Color Color() const;
};

// The cursor quad of one face: corners (left, top) .. (right, bottom) at depth z; world from
// CursorPos P: face 0 T(P.x + dx, P.y + dy + cc, P.z + dz), face 1 T(P.z + dz, P.y + dy + cc,
// -(P.x + dx)); then S(scale) x R(turn).
struct CursorFace {
    float left, top, right, bottom, z;
    float dx, dy, dz;
    platform::Vector3 scale;
    float turn;
};
struct BoardCursor {
    CursorFace faces[2]; // by CursorFlg
};
// Texture, world transform and the quad in `color` (the caller has set the quad format).
void DrawBoardCursor(platform::GraphicsDevice& device, const PlayBoard& b, float cc,
                     const BoardCursor& cursor, platform::Texture* texture, platform::Color color);
