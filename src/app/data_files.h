// The check that loads every file of the data manifest with the game's own loaders.
#pragma once

#include <iosfwd>

#include "media/manifest.h"

// Loads every file of the manifest from the data folder (platform::DataRoot) with the game's
// loaders; writes one line for each file that is missing or unreadable, and a summary.
// Returns 0 when every file is good, 1 otherwise.
int CheckDataFiles(std::ostream& report);

// Says on standard error when data files are missing from the data folder (the game still
// starts, without those pictures, models or sounds), naming the folder and --check-data.
// Returns how many are missing.
int ReportMissingDataFiles();
