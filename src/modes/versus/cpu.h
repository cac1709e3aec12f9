// The computer opponent at the keyboard: in every play frame, before the rules read the keys,
// it decides which of its side's keys are held and sets them on the platform keyboard, so its
// moves reach the game exactly as a person's do, with the same waits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/versus/versus.h"
#include "platform/json.h"
#include "play/opponent.h"

// What sets the strengths apart.
struct CpuProfile {
    int think;           // frames it looks at the board before it acts on a new plan
    int moveGap;         // frames it rests after each cursor move
    int blunderPermille; // plans that take a useless swap instead
    int slipPermille;    // cursor moves that go the wrong way
    CpuSight sight;
    bool rushes;   // holds the faster-rise key while it has no line to make on a low board
    bool combines; // a move, a depth move and the swap in one frame when their waits allow
};
const CpuProfile& ProfileOf(int32_t level);

// A key the opponent pressed, for checking its pacing.
struct CpuKeyPress {
    int32_t frame; // its play frame
    int vk;
};

struct CpuPlayer {
    int32_t level = kCpuOff;
    CpuRandom rng;
    CpuPlan plan;                     // plan.found: on its way to plan.swap
    SwapSearch search;                // the search for the next plan, a step a frame
    int32_t expectA = 0, expectB = 0; // the two cells as they were when it planned
    int32_t wait = 0;                 // frames before it acts again
    float lastCc = 0.0f;              // the rise offset last seen: a drop means a new row
    uint32_t held = 0;                // the side's keys it holds, by CpuKey
    int32_t frame = 0;                // play frames seen this game
    int32_t swaps = 0;                // swaps it made this game
    int32_t searches = 0;             // frames in which it searched for a swap this game
    std::vector<CpuKeyPress>* log = nullptr;
};

struct VersusCpu {
    CpuPlayer left, right;
    int32_t gamesStarted = 0; // kept for the run: each game's opponents play afresh
    int32_t outcome = 0;      // the last game's end seen in play: 3 left lost, 4 right lost
};
extern VersusCpu Cpu;

// The side's keys by index, as VersusKeys gives them (-1 where the side has none).
enum CpuKey {
    kKeyUp,
    kKeyDown,
    kKeyLeft,
    kKeyRight,
    kKeyModifier,
    kKeyDepth,
    kKeySwap,
    kKeyFaster
};
constexpr int kCpuKeys = 8;
int CpuKeyCode(const VersusKeys& keys, int key);

// A new game: each side takes its level from Opponents and seeds its generator from the
// game's seed and the number of games played.
void CpuStart();
// Called by VersusUpdate first: in play, both opponents decide and set their keys; in every
// other phase they let go of what they hold.
void CpuStep();
// Lets go of every key the opponents hold.
void CpuRelease();
// One side's decision for this frame on its own board: the keys it wants held. Without
// `mayPlan` it searches for no new swap this frame.
uint32_t CpuDecide(CpuPlayer& p, const VersusSide& side, const VersusKeys& keys, bool mayPlan);

// "cpu-vs-cpu: left (hard) beat right (easy) after 5234 play frames", or no winner yet.
std::string CpuOutcomeText();

void CpuDump(platform::JsonWriter& json, const CpuPlayer& p);
