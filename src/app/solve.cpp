// `tessarune --solve LEVEL`: the solver's answer for a challenge level, in words and keys.
#include "app/solve.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "modes/challenge/levels.h"
#include "modes/challenge/solver.h"

int PrintSolution(int level, std::ostream& out) {
    const ChallengeLevel& lv = kChallengeLevels[level - 1];
    // TESS_SOLVE_BOARDS raises (or lowers) the boards looked at before the search gives up.
    SolveLimits limits;
    if (const char* boards = std::getenv("TESS_SOLVE_BOARDS"))
        limits.states = std::strtoull(boards, nullptr, 10);
    // TESS_SOLVE_TIMING=0, 1 or 2 searches only that timing of swaps in motion (SolveLimits).
    if (const char* timing = std::getenv("TESS_SOLVE_TIMING"))
        limits.fromTiming = limits.toTiming = std::clamp(std::atoi(timing), 0, 2);
    // TESS_SOLVE_SWAPS=N spends N swaps instead of the level's (a clearing is then only a
    // measure of how far the level is from one; its replay would not pass the mode's verdict).
    if (const char* swaps = std::getenv("TESS_SOLVE_SWAPS")) limits.swaps = std::atoi(swaps);
    // TESS_SOLVE_THREADS=N searches with N threads (default one per processor).
    if (const char* threads = std::getenv("TESS_SOLVE_THREADS"))
        limits.threads = std::max(1, std::atoi(threads));
    // TESS_SOLVE_CHAIN=N asks for another longest chain than the level's.
    const char* chain = std::getenv("TESS_SOLVE_CHAIN");
    const int32_t asked = chain ? std::atoi(chain) : lv.chain;
    const Solution s = SolveLevel(level, asked, limits);
    const int32_t swaps = limits.swaps < 0 ? lv.swaps : limits.swaps;
    out << "level " << level << ": " << swaps << (swaps == 1 ? " swap" : " swaps")
        << ", longest chain " << asked << "\n";
    if (!s.found) {
        out << "no clearing found (" << s.searched << ")\n";

        return 1;
    }
    out << (s.duringFalls ? "cleared with swaps made while blocks fall or vanish"
                          : "cleared with swaps made on a board at rest")
        << " (" << s.states << " boards examined)\n";
    if (s.primed)
        out << "the first swap comes before the swap wait of a fresh run is full: play any "
               "level for 15 updates first (pause and retry will do)\n";
    int n = 0;
    for (const PlannedSwap& w : s.swaps)
        out << "swap " << ++n << ": cursor on (" << w.at.x << ", " << w.at.y << ", " << w.at.z
            << "), " << (w.at.face == 0 ? "with X+1" : "with Z+1") << ", at play update "
            << w.update << "\n";
    out << "board empty and at rest at play update " << s.clearedAt << "\n"
        << "keys, one play update each (update 0 is the first update of play):\n"
        << PlanKeyScript(s.keys, 0);
    return 0;
}
