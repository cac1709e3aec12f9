// The computer opponent's hands: plans from play/opponent turned into key presses, each made
// in a frame in which the rules take it, so every press acts once.
#include "modes/versus/cpu.h"

#include <algorithm>

#include "platform/keyboard.h"
#include "platform/random.h"

using namespace platform;

VersusCpu Cpu;

namespace {

// Think, rest after a move, blunders and slips per thousand, sight, rushes, combines.
const CpuProfile kProfiles[4] = {
    {0, 0, 0, 0, {}, false, false},
    {90, 30, 250, 60, {.chains = false, .followUp = false, .framesPerMove = 31}, false, false},
    {45, 12, 120, 30, {.chains = true, .followUp = false, .framesPerMove = 16}, true, false},
    {2, 0, 0, 0, {.chains = true, .followUp = true, .framesPerMove = 16}, true, true},
};

// Swaps looked at per frame while searching: a fifth of them or so.
constexpr int kSearchWork = 120;

uint32_t Bit(int key) {
    return 1u << key;
}

bool Ready(const VersusSide& s, int key) {
    switch (key) {
    case kKeyDepth:
        return s.DepthWait >= 10;
    case kKeySwap:
        return s.SwapWait >= 15;
    default:
        return s.MoveWait > 15;
    }
}

// The keys of a cursor move: an arrow, or a depth move by the depth key (with the modifier for
// deeper) or, on a side without one, by the modifier with up or down.
uint32_t KeysOf(CursorMove m, const VersusKeys& k) {
    switch (m) {
    case kMoveUp:
        return Bit(kKeyUp);
    case kMoveDown:
        return Bit(kKeyDown);
    case kMoveLeft:
        return Bit(kKeyLeft);
    case kMoveRight:
        return Bit(kKeyRight);
    case kMoveDeeper:
        return k.depth >= 0 ? Bit(kKeyDepth) | Bit(kKeyModifier) : Bit(kKeyUp) | Bit(kKeyModifier);
    case kMoveShallower:
        return k.depth >= 0 ? Bit(kKeyDepth) : Bit(kKeyDown) | Bit(kKeyModifier);
    }
    return 0;
}

bool IsDepth(CursorMove m) {
    return m == kMoveDeeper || m == kMoveShallower;
}

bool PlanStillThere(const CpuPlayer& p, const BlockGrid g) {
    const CpuSwap& s = p.plan.swap;
    if (s.y < 0 || s.y >= kRows) return false;
    const int px = s.dir == 0 ? s.x + 1 : s.x, pz = s.dir == 1 ? s.z + 1 : s.z;
    return g[s.x][s.y][s.z] == p.expectA && g[px][s.y][pz] == p.expectB;
}

// The cursor part of a frame: the first moves of a shortest path whose waits are full; the
// swap once the cursor stands on its cell.
uint32_t Drive(CpuPlayer& p, const VersusSide& s, const VersusKeys& k, const CpuProfile& prof) {
    CursorState at = CursorOf(s);
    const CursorState target = TargetOf(p.plan.swap);
    CursorPaths paths(target);
    if (paths.MovesFrom(at) < 0) {
        p.plan.found = false;
        return 0;
    }
    uint32_t wish = 0;
    bool acted = false;
    // Arrow moves (and, without a depth key, depth moves) share the move wait.
    if (!(at == target) && Ready(s, kKeyUp)) {
        for (int m = 0; m < kCursorMoves; ++m) {
            auto move = static_cast<CursorMove>(m);
            if (IsDepth(move) && k.depth >= 0) continue;
            if (!paths.Leads(at, move)) continue;
            if (p.rng.Below(1000) < prof.slipPermille) // the wrong arrow
                move = static_cast<CursorMove>(p.rng.Below(4));
            wish |= KeysOf(move, k);
            at = AfterMove(at, move);
            acted = true;
            break;
        }
    }
    if (!(at == target) && k.depth >= 0 && Ready(s, kKeyDepth) && (!acted || prof.combines)) {
        for (CursorMove move : {kMoveDeeper, kMoveShallower}) {
            // With up or down held, the modifier would turn them into depth moves too.
            bool rowMove = wish & (Bit(kKeyUp) | Bit(kKeyDown));
            if (!paths.Leads(at, move) || (move == kMoveDeeper && rowMove)) continue;
            wish |= KeysOf(move, k);
            at = AfterMove(at, move);
            acted = true;
            break;
        }
    }
    if (at == target && Ready(s, kKeySwap) && (!acted || prof.combines)) {
        wish |= Bit(kKeySwap);
        p.plan.found = false;
        ++p.swaps;
        p.wait = prof.think;
        return wish;
    }
    if (acted) p.wait = prof.moveGap;
    return wish;
}

void SetHeld(CpuPlayer& p, const VersusKeys& k, uint32_t wish) {
    for (int key = 0; key < kCpuKeys; ++key) {
        const int vk = CpuKeyCode(k, key);
        if (vk < 0) continue;
        const bool want = wish & Bit(key);
        if (TheKeyboard().Held(vk) != want) TheKeyboard().SetKey(vk, want);
        if (want && !(p.held & Bit(key)) && p.log) p.log->push_back({p.frame, vk});
    }
    p.held = wish;
}

void LetGo(CpuPlayer& p, const VersusKeys& k) {
    for (int key = 0; key < kCpuKeys; ++key) {
        const int vk = CpuKeyCode(k, key);
        if (vk >= 0 && (p.held & Bit(key))) TheKeyboard().SetKey(vk, false);
    }
    p.held = 0;
}

void StartSide(CpuPlayer& p, int32_t level, uint32_t salt) {
    p.level = level;
    p.rng.Seed(LastSeed() ^ salt);
    p.plan = CpuPlan{};
    p.search = SwapSearch{};
    p.wait = ProfileOf(level).think;
    p.lastCc = 0.0f;
    p.frame = 0;
    p.swaps = 0;
    p.searches = 0;
}

} // namespace

const CpuProfile& ProfileOf(int32_t level) {
    return kProfiles[level >= kCpuEasy && level <= kCpuHard ? level : 0];
}

int CpuKeyCode(const VersusKeys& k, int key) {
    switch (key) {
    case kKeyUp:
        return k.cursor->up;
    case kKeyDown:
        return k.cursor->down;
    case kKeyLeft:
        return k.cursor->left;
    case kKeyRight:
        return k.cursor->right;
    case kKeyModifier:
        return k.cursor->modifier;
    case kKeyDepth:
        return k.depth;
    case kKeySwap:
        return k.swap;
    case kKeyFaster:
        return k.faster;
    default:
        return -1;
    }
}

uint32_t CpuDecide(CpuPlayer& p, const VersusSide& s, const VersusKeys& k, bool mayPlan) {
    const CpuProfile& prof = ProfileOf(p.level);
    ++p.frame;
    if (p.plan.found && s.cc < p.lastCc) ++p.plan.swap.y; // a new row carried it up
    p.lastCc = s.cc;
    if (p.plan.found && !PlanStillThere(p, s.grid)) {
        p.plan.found = false;
        p.wait = std::max(p.wait, prof.think / 2);
    }
    if (p.wait > 0) {
        --p.wait;
        return p.held & Bit(kKeyFaster); // a rush goes on while it thinks
    }
    if (!p.plan.found) {
        // One step of the search a frame, spread so that no frame thinks for long.
        if (!mayPlan) return p.held & Bit(kKeyFaster);
        ++p.searches;
        if (!p.search.Running()) {
            if (p.rng.Below(1000) < prof.blunderPermille)
                p.plan = RandomSwap(s.grid, CursorOf(s), p.rng);
            else
                p.search.Start(s.grid, s.pairs, CursorOf(s), prof.sight);
        }
        if (p.search.Running() && !p.search.Step(s.grid, kSearchWork, p.plan))
            return p.held & Bit(kKeyFaster);
        if (!p.plan.found) {
            p.wait = prof.think;
            // Nothing to make: a low board is brought up for more blocks to work with. On the
            // left side the faster-rise key also sends garbage with --debug-keys: not then.
            bool cheats = k.faster == k.cheat && DebugKeysEnabled();
            bool rush = prof.rushes && !cheats && StackHeight(s.grid) <= 6;
            return rush ? Bit(kKeyFaster) : 0;
        }
        const CpuSwap& w = p.plan.swap;
        p.expectA = s.grid[w.x][w.y][w.z];
        p.expectB = s.grid[w.dir == 0 ? w.x + 1 : w.x][w.y][w.dir == 1 ? w.z + 1 : w.z];
    }
    return Drive(p, s, k, prof);
}

void CpuStart() {
    CpuRelease();
    uint32_t game = static_cast<uint32_t>(Cpu.gamesStarted++) * 0x9E3779B1u;
    StartSide(Cpu.left, Opponents.left, game ^ 0x4C454654u);
    StartSide(Cpu.right, Opponents.right, game ^ 0x52494748u);
    Cpu.outcome = 0;
}

void CpuStep() {
    VersusMode& v = Versus;
    if (v.GameFlg == 3 || v.GameFlg == 4) Cpu.outcome = v.GameFlg;
    struct Side {
        CpuPlayer& p;
        const VersusSide& s;
        const VersusKeys& k;
    };
    // One search a frame: when both would search, the right side waits a frame.
    bool searched = false;
    for (Side side : {Side{Cpu.left, v.left, kLeftKeys}, Side{Cpu.right, v.right, kRightKeys}}) {
        if (side.p.level == kCpuOff) continue;
        if (v.GameFlg != 2) {
            LetGo(side.p, side.k);
            continue;
        }
        int32_t before = side.p.searches;
        SetHeld(side.p, side.k, CpuDecide(side.p, side.s, side.k, !searched));
        searched = searched || side.p.searches != before;
    }
}

void CpuRelease() {
    LetGo(Cpu.left, kLeftKeys);
    LetGo(Cpu.right, kRightKeys);
}

std::string CpuOutcomeText() {
    auto name = [](int32_t level) { return std::string(CpuLevelName(level)); };
    std::string frames = std::to_string(std::max(Cpu.left.frame, Cpu.right.frame));
    if (Cpu.outcome == 0) return "cpu-vs-cpu: no winner after " + frames + " play frames";
    bool leftWon = Cpu.outcome == 4;
    std::string left = std::string("left (") + name(Cpu.left.level) + ")";
    std::string right = std::string("right (") + name(Cpu.right.level) + ")";
    return "cpu-vs-cpu: " + (leftWon ? left + " beat " + right : right + " beat " + left) +
           " after " + frames + " play frames";
}

void CpuDump(JsonWriter& json, const CpuPlayer& p) {
    json.BeginObject()
        .Field("level", p.level)
        .Field("rng", p.rng.state)
        .Field("planned", p.plan.found)
        .Key("plan")
        .BeginArray()
        .Value(p.plan.swap.x)
        .Value(p.plan.swap.y)
        .Value(p.plan.swap.z)
        .Value(p.plan.swap.dir)
        .EndArray()
        .Field("wait", p.wait)
        .Field("held", p.held)
        .Field("frame", p.frame)
        .Field("swaps", p.swaps)
        .EndObject();
}
