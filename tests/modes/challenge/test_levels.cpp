// The level table against the puzzles as written down, and the solver's pieces: cursor steps,
// paths, plan checking and key scripts.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "modes/challenge/levels.h"
#include "modes/challenge/solver.h"
#include "puzzle/board_fixture.h"

namespace {

struct Written {
    int swaps, chain;
    const char* blocks; // "kind:x,y,z ..."
};

// The fifteen puzzles as designed, typed again from the design table; level 12's chain is
// the one the solver chose.
const Written kWritten[15] = {
    {1, 2, "1:3,0,0 1:3,1,0 1:4,0,0 2:3,0,1 2:3,0,2 2:3,2,0"},
    {3, 2, "1:1,0,1 1:2,0,1 1:2,1,1 1:3,0,0 1:3,0,2 1:3,1,2 1:4,0,1 5:2,0,0 5:2,0,2 5:3,0,1"},
    {2, 5,
     "1:1,0,3 1:2,0,2 1:3,4,2 2:3,0,2 2:3,1,2 2:3,3,2 3:3,2,2 3:4,2,2 3:4,3,2 3:5,0,2 3:5,1,2 "
     "4:4,0,2 4:4,1,2 4:4,4,2 5:2,0,0 5:2,0,1 5:2,0,3 5:2,1,2"},
    {5, 3,
     "1:2,0,1 1:2,0,2 1:2,4,0 2:2,0,0 2:2,2,0 2:2,3,0 3:2,1,0 3:3,0,1 3:3,2,1 4:3,1,1 4:3,3,1 "
     "4:3,4,1"},
    {2, 5,
     "1:1,1,0 1:1,3,0 1:2,0,0 2:2,1,0 2:2,3,0 2:3,0,0 3:1,0,0 3:3,1,0 3:3,3,0 4:4,0,0 4:4,1,0 "
     "4:4,3,0 5:1,2,0 5:2,2,0 5:3,2,0 5:4,2,0 5:5,0,0 5:5,1,0 5:5,2,0"},
    {4, 4,
     "1:0,1,0 1:2,0,1 1:2,0,2 3:3,1,0 3:4,0,0 3:4,1,0 4:0,0,0 4:1,0,0 4:1,1,0 5:2,0,0 5:3,0,0 "
     "5:5,0,0"},
    {3, 5,
     "1:1,0,0 1:1,0,1 1:1,1,2 2:0,0,0 2:0,1,0 2:2,0,0 3:0,0,1 3:1,1,1 3:1,2,2 3:1,3,2 3:2,0,1 "
     "4:0,0,2 4:1,0,2 4:2,1,1"},
    {4, 3, "2:1,0,0 2:1,0,2 2:1,1,0 3:2,0,0 3:2,0,1 3:2,1,1 4:0,0,0 4:1,0,1 4:2,1,0"},
    {4, 5,
     "1:0,0,0 1:0,0,1 1:0,1,0 1:1,0,1 1:1,2,0 1:2,1,1 3:0,2,1 3:1,0,0 3:1,0,2 4:0,1,1 4:1,1,0 "
     "4:1,1,1 4:2,0,1 4:2,0,2 4:2,2,1"},
    {1, 5,
     "1:0,0,0 1:1,5,0 1:1,11,0 2:2,0,0 2:2,5,0 2:2,10,0 3:3,0,0 3:3,5,0 3:3,9,0 4:4,0,0 4:4,5,0 "
     "4:4,8,0 5:5,0,0 5:5,5,0 5:5,7,0"},
    {8, 6,
     "1:4,0,1 1:4,3,0 1:5,0,2 2:3,2,1 2:4,2,0 2:5,0,1 3:4,1,0 3:5,0,0 3:5,0,3 4:2,0,0 4:3,0,0 "
     "4:4,1,1 5:3,0,1 5:3,0,2 5:3,1,0 5:3,1,1 5:3,3,1 5:4,0,0"},
    {8, kLevel12Chain,
     "1:0,0,2 1:0,1,1 1:0,1,2 1:0,2,1 1:1,1,2 1:1,2,0 1:1,2,2 1:2,1,1 1:3,2,1 2:1,0,0 2:1,0,2 "
     "2:1,1,0 2:2,0,1 2:3,0,1 3:0,0,1 3:0,3,1 3:2,2,1 4:3,1,1 4:3,3,1 4:3,4,1 5:0,0,0 5:0,1,0 "
     "5:0,2,2"},
    {13, 7,
     "1:1,0,0 1:1,1,1 1:3,2,3 2:1,1,0 2:2,0,0 2:2,0,3 2:2,2,3 2:2,3,3 2:3,0,0 2:3,1,0 3:1,0,2 "
     "3:2,1,3 3:3,0,1 3:3,0,3 3:3,1,3 3:3,2,2 3:4,0,2 4:2,0,1 4:3,0,2 4:3,3,3 5:1,0,1 5:2,0,2 "
     "5:3,1,2"},
    {12, 9,
     "1:0,0,1 1:2,0,2 1:3,1,2 1:4,1,1 1:5,0,2 2:2,0,1 2:2,0,4 2:3,0,0 2:3,0,4 2:3,1,4 2:3,2,2 "
     "3:1,0,0 3:1,1,1 3:2,0,0 3:3,0,2 3:3,0,3 3:3,3,4 3:4,0,0 3:4,0,1 3:5,1,2 4:0,1,1 4:1,0,1 "
     "4:3,0,1 4:3,2,4 4:4,0,2 4:4,1,2 5:0,0,0 5:1,0,2 5:2,1,2"},
    {2, 2,
     "1:0,0,0 1:0,1,0 1:0,2,0 1:2,0,0 1:2,1,0 1:2,2,0 1:4,0,0 1:4,1,0 1:4,2,0 2:0,3,0 2:0,4,0 "
     "2:2,3,0 2:4,3,0 2:4,4,0"},
};

using Cells = std::set<std::array<int, 4>>; // {x, y, z, kind}

Cells Parse(const char* blocks) {
    Cells out;
    std::istringstream in(blocks);
    std::string token;
    while (in >> token) {
        int k, x, y, z;
        EXPECT_EQ(std::sscanf(token.c_str(), "%d:%d,%d,%d", &k, &x, &y, &z), 4) << token;
        out.insert({x, y, z, k});
    }
    return out;
}

} // namespace

TEST(ChallengeLevels, EveryLevelPlacesExactlyTheWrittenCellsSwapsAndChain) {
    for (int n = 1; n <= kLevelCount; ++n) {
        const ChallengeLevel& lv = kChallengeLevels[n - 1];
        const Written& w = kWritten[n - 1];
        SCOPED_TRACE("level " + std::to_string(n));
        EXPECT_EQ(lv.swaps, w.swaps);
        EXPECT_EQ(lv.chain, w.chain);
        Cells table;
        for (int i = 0; i < lv.count; ++i) {
            const LevelBlock& b = lv.blocks[i];
            table.insert({b.x, b.y, b.z, b.kind});
        }
        EXPECT_EQ(table.size(), size_t(lv.count)) << "a cell listed twice";
        EXPECT_EQ(table, Parse(w.blocks));
    }
    EXPECT_GT(kLevel12Chain, 0) << "level 12 demands a chain of its own";
}

TEST(ChallengeSolver, CursorStepsTurnTheCornerAndKeepThePairOnTheBoard) {
    CursorState c{0, 4, 3, 4}; // deep in the front face
    ASSERT_TRUE(MoveCursorCell(c, CursorKey::Right));
    EXPECT_EQ(c, (CursorState{1, 5, 3, 3})) << "BlockZ at most 3 on the right face";
    EXPECT_FALSE(MoveCursorCell(c, CursorKey::Right)) << "Z 3 is the last pair along Z";
    c = {1, 5, 3, 0};
    ASSERT_TRUE(MoveCursorCell(c, CursorKey::Left));
    EXPECT_EQ(c, (CursorState{0, 4, 3, 0}));
    c = {0, 0, 0, 4};
    EXPECT_TRUE(MoveCursorCell(c, CursorKey::ShiftUp)) << "a depth move at its limit still counts";
    EXPECT_EQ(c, (CursorState{0, 0, 0, 4}));
    EXPECT_FALSE(MoveCursorCell(c, CursorKey::Left));
    EXPECT_FALSE(MoveCursorCell(c, CursorKey::Down));
    c = {1, 5, 11, 2};
    EXPECT_FALSE(MoveCursorCell(c, CursorKey::Up));
    EXPECT_TRUE(MoveCursorCell(c, CursorKey::ShiftUp));
    EXPECT_EQ(c, (CursorState{1, 4, 11, 2})) << "Shift+Up on the right face goes deeper in X";

    // Paths are shortest and end where they should.
    const CursorState from{0, 0, 0, 0}, to{1, 2, 1, 3};
    std::vector<CursorKey> path = CursorPath(from, to);
    CursorState walk = from;
    for (CursorKey k : path) ASSERT_TRUE(MoveCursorCell(walk, k));
    EXPECT_EQ(walk, to);
    EXPECT_EQ(path.size(), 12u) << "5 right, 3 along Z, 3 deeper, 1 up";
    EXPECT_TRUE(CursorPath(to, to).empty());
}

TEST(ChallengeSolver, PlansAreCheckedWithTheModesKeyPacing) {
    // Level 1: the swap (2,0,0)-(3,0,0) clears it; the cursor needs two moves to get there.
    using K = PlannedKey;
    const std::vector<PlannedKey> good{{16, K::Right}, {32, K::Right}, {32, K::Swap}};
    int64_t restAt = 0;
    EXPECT_TRUE(CheckPlan(1, 2, good, false, &restAt));
    EXPECT_GT(restAt, 32 + 101) << "the verdict waits for both lines to vanish";
    EXPECT_FALSE(CheckPlan(1, 3, good, false)) << "the chain must be exactly the one asked";
    EXPECT_FALSE(CheckPlan(1, 2, {{16, K::Right}, {31, K::Right}, {32, K::Swap}}, false))
        << "a move 15 updates after the last does not act";
    EXPECT_FALSE(CheckPlan(1, 2, {{15, K::Right}, {31, K::Right}, {31, K::Swap}}, false))
        << "the first move of a run acts at update 16";
    EXPECT_TRUE(CheckPlan(1, 2, {{0, K::Right}, {16, K::Right}, {16, K::Swap}}, true))
        << "with the waits full a run moves at once";
    EXPECT_TRUE(
        CheckPlan(1, 2, {{16, K::Up}, {32, K::Right}, {48, K::Right}, {48, K::Swap}}, false))
        << "the other clearing swap of level 1, one row up";
    EXPECT_FALSE(CheckPlan(1, 2, {{16, K::Right}, {32, K::Swap}}, false));

    EXPECT_EQ(PlanKeyScript(good, 400), "416 416 RIGHT\n432 432 RIGHT X\n");
    EXPECT_EQ(PlanKeyScript({{3, K::ShiftUp}}, 0), "3 3 SHIFT UP\n");
}

namespace {

// The update of play after the cursor, as the mode runs it: the swap (when given), gravity,
// the lines; sounds are marked loaded and left empty.
void PlayUpdate(Board& b, const CursorState* swap) {
    static SwapSound sound;
    sound.loaded = 1;
    gVanish.loaded = 1;
    int32_t left = 1;
    if (swap) SwapCells(sound, &left, b.grid, swap->x, swap->y, swap->z, swap->face);
    FallStep(b.grid, b.pairs);
    b.Match();
}

int MarkedCells(const Board& b) {
    int n = 0;
    for (const auto& slice : b.grid)
        for (const auto& row : slice)
            for (int32_t v : row) n += v < 0;
    return n;
}

// Every swap the cursor can make, whether or not the cells allow it.
std::vector<CursorState> EverySwap() {
    std::vector<CursorState> out;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                if (x + 1 < kSlices) out.push_back({0, x, y, z});
                if (z + 1 < kDepth) out.push_back({1, x, y, z});
            }
    return out;
}

// Whether the update with the swap gave the board that the update without it gave, with the
// swap's two cells exchanged.
::testing::AssertionResult OnlyExchanged(const Board& with, const Board& without,
                                         const CursorState& s) {
    static SwapSound none;
    none.loaded = 1;
    Board exchanged = without;
    SwapCells(none, nullptr, exchanged.grid, s.x, s.y, s.z, s.face);
    if (with.SameCells(exchanged)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "swap " << s.x << s.y << s.z << s.face << " does more than exchange its cells";
}

} // namespace

// The search skips the update of a swap it judges quiet at rest or still in motion, and never
// plays a swap that it judges unable to matter or to add a line: the looks must agree with the
// real update.
TEST(ChallengeSolver, QuickLooksAtASwapAgreeWithTheRealUpdate) {
    RandomBoards random(11);
    int quiet = 0, matters = 0, still = 0, passedOver = 0;
    for (int round = 0; round < 12; ++round) {
        Board rest;
        random.FillAtRest(rest);
        for (auto& slice : rest.grid)
            for (auto& row : slice)
                for (int32_t& v : row)
                    if (v == kGarbage) v = 1 + random.Below(5); // the mode has no garbage
        PlayUpdate(rest, nullptr); // lines the fill left, gone; now truly at rest
        for (int i = 0; i < 120; ++i) PlayUpdate(rest, nullptr);
        if (rest.chainFlag != 0 || MarkedCells(rest) != 0) continue;
        for (const CursorState& s : EverySwap()) {
            Board moved = rest;
            PlayUpdate(moved, &s);
            if (!SwapMayAddLine(rest.grid, s, true)) {
                ++passedOver;
                ASSERT_EQ(moved.chainFlag, 0) << "round " << round;
                ASSERT_EQ(MarkedCells(moved), 0) << "round " << round;
            }
            if (!SwapIsQuietAtRest(rest.grid, s)) continue;
            ++quiet;
            Board real = rest;
            PlayUpdate(real, &s);
            ASSERT_TRUE(OnlyExchanged(real, rest, s)) << "round " << round;
            ASSERT_EQ(real.chainFlag, 0);
            ASSERT_EQ(real.maxCombo, rest.maxCombo);
        }

        // The board while some of its blocks vanish, the cells staying as they are from one
        // update to the next: a swap judged still changes nothing but its two cells.
        Board vanishing = rest;
        int blocks = 0;
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z)
                    if (vanishing.grid[x][y][z] > 0 && ++blocks % 5 == 0) {
                        vanishing.grid[x][y][z] = -vanishing.grid[x][y][z];
                        vanishing.pairs[x][y][z][0] = 1;
                        vanishing.pairs[x][y][z][1] = 40;
                    }
        Board idle = vanishing;
        PlayUpdate(idle, nullptr);
        ASSERT_EQ(std::memcmp(idle.grid, vanishing.grid, sizeof idle.grid), 0);
        for (const CursorState& s : EverySwap()) {
            if (!SwapIsStillInMotion(vanishing.grid, s)) continue;
            ++still;
            Board with = vanishing;
            PlayUpdate(with, &s);
            ASSERT_TRUE(OnlyExchanged(with, idle, s)) << "round " << round;
        }

        Board moving;
        random.Fill(moving, 3);
        for (auto& slice : moving.grid)
            for (auto& row : slice)
                for (int32_t& v : row)
                    if (v == kGarbage) v = 0;
        for (int u = 0; u < 12; ++u) {
            for (const CursorState& s : EverySwap()) {
                Board with = moving, without = moving;
                PlayUpdate(with, &s);
                PlayUpdate(without, nullptr);
                const bool passed = !SwapMayAddLine(moving.grid, s, false);
                passedOver += passed;
                if (MarkedCells(with) <= MarkedCells(without)) continue;
                ++matters;
                ASSERT_FALSE(passed) << "round " << round << " update " << u;
                ASSERT_TRUE(SwapMayMatter(moving.grid, s))
                    << "round " << round << " update " << u << " swap " << s.x << s.y << s.z
                    << s.face << " makes a line";
            }
            PlayUpdate(moving, nullptr);
        }
    }
    EXPECT_GT(quiet, 300) << "too few boards at rest to judge";
    EXPECT_GT(matters, 30) << "too few lines made to judge";
    EXPECT_GT(still, 300) << "too few still swaps in motion to judge";
    EXPECT_GT(passedOver, 1000) << "the look that passes over swaps must pass over some";
}

// The chain a board can still reach bounds what the puzzle core scores: a fresh block between
// two vanishing ones of its kind makes a line that counts in the chain.
TEST(ChallengeSolver, TheChainWithinReachCountsLinesThroughVanishingBlocks) {
    Board b;
    b.grid[0][0][0] = b.grid[2][0][0] = -1;
    b.pairs[0][0][0][0] = b.pairs[2][0][0][0] = 1;
    b.grid[1][0][0] = 1;
    b.chainFlag = 1, b.combo = b.maxCombo = 3;
    const int32_t reach = ChainWithinReach(b.grid, b.combo, b.maxCombo);
    PlayUpdate(b, nullptr);
    EXPECT_EQ(b.maxCombo, 4);
    EXPECT_GE(reach, b.maxCombo);

    // Sparse random boards, some blocks vanishing, played out without swaps.
    RandomBoards random(5);
    for (int round = 0; round < 200; ++round) {
        Board r;
        for (int i = 0; i < 14; ++i) {
            const int x = random.Below(kSlices), z = random.Below(kDepth), y = random.Below(3);
            r.grid[x][y][z] = 1 + random.Below(2);
            if (random.Below(2)) r.grid[x][y][z] = -r.grid[x][y][z], r.pairs[x][y][z][0] = 1;
        }
        r.chainFlag = 1, r.combo = r.maxCombo = 1;
        const int32_t bound = ChainWithinReach(r.grid, r.combo, r.maxCombo);
        for (int u = 0; u < 120; ++u) PlayUpdate(r, nullptr);
        ASSERT_LE(r.maxCombo, bound) << "round " << round;
    }
}

// A clearing that cannot exist is reported as not found, with what was searched.
TEST(ChallengeSolver, AnImpossibleChainIsReportedNotFound) {
    const Solution s = SolveLevel(1, 3); // six blocks make two lines at most
    EXPECT_FALSE(s.found);
    EXPECT_TRUE(s.swaps.empty());
    EXPECT_NE(s.searched.find("every sequence tried"), std::string::npos) << s.searched;

    const Solution one = SolveLevel(1);
    ASSERT_TRUE(one.found);
    EXPECT_EQ(one.chain, 2);
    EXPECT_TRUE(CheckPlan(1, 2, one.keys, one.primed));
}
