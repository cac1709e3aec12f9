// Garbage rows sent from one board to the other.
#include "modes/versus/garbage.h"

bool DropGarbage(BlockGrid receiver, CellAnim receiverPairs, int32_t& owed,
                 int32_t senderChainFlag) {
    if (senderChainFlag != 0 || owed < 1) return false;
    bool busy = !TopRowEmpty(receiver) || AnyVanishing(receiverPairs);
    if (busy) return false;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) receiver[x][kRows - 1][z] = kGarbage;
    // One row per delivery, and the delivery settles half of what is owed with it.
    owed = (owed + 1) / 2 - 1;
    return true;
}
