// The record folder of this run, chosen at start-up for the data folder in use.
#pragma once

#include "platform/user_data.h"

// Chooses the record folder for the data folder in use (platform::DataRoot) and sets it; when
// that is the user's folder, records kept in the data folder's notepad/ are copied over the
// first time. Says on standard error what was copied or could not be. Returns the folder.
std::string SetUpRecordFolder(const platform::UserEnvironment& env,
                              const platform::WritableCheck& writable = platform::CanWriteFolder);
