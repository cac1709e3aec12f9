// Garbage rows: what one side's chains send onto the other side's board.
#pragma once

#include <cstdint>

#include "play/board.h"

// Places one row of garbage (all 30 cells of row 11) on the receiving board when the sender's
// chain has ended (`senderChainFlag` 0), something is owed and the receiver is not busy (row 11
// empty and nothing vanishing). A delivered row settles half the debt: `owed` N becomes
// ceil(N / 2) - 1. Returns whether a row was placed.
bool DropGarbage(BlockGrid receiver, CellAnim receiverPairs, int32_t& owed,
                 int32_t senderChainFlag);
