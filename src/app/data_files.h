// The check that loads every file of the data manifest with the game's own loaders.
#pragma once

#include <iosfwd>

#include "media/manifest.h"

// Loads every file of the manifest from the data folder (platform::DataRoot) with the game's
// loaders; writes one line for each file that is missing or unreadable, and a summary.
// Returns 0 when every file is good, 1 otherwise.
int CheckDataFiles(std::ostream& report);
