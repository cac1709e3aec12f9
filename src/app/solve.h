// `tessarune --solve LEVEL`: the solver's answer for a challenge level, in words and keys.
#pragma once

#include <iosfwd>

// Prints the swaps that clear the level (cursor cell, direction, play update) and the keys
// that make them. Returns 0 when a clearing was found, 1 otherwise.
int PrintSolution(int level, std::ostream& out);
