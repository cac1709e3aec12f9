// Where the player's records live: beside the data of a game run from its build folder, in the
// user's data folder ($XDG_DATA_HOME/tessarune) for an installed game.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The environment the user's folders are taken from.
struct UserEnvironment {
    std::string xdgDataHome; // $XDG_DATA_HOME
    std::string home;        // $HOME, else the home folder of the user's account
};
UserEnvironment CurrentUserEnvironment();

// $XDG_DATA_HOME/tessarune when that is an absolute path, else $HOME/.local/share/tessarune;
// "" when neither is known.
std::string UserDataFolder(const UserEnvironment& env);

// Whether the game may create and replace files in an existing folder.
using WritableCheck = std::function<bool(const std::string& folder)>;
bool CanWriteFolder(const std::string& folder);

// True for a data folder in the installed layout (.../share/tessarune/data): it is shared by
// every user of the machine, so nothing of one player is written there.
bool IsInstalledDataFolder(const std::string& dataRoot);

// The record folder for a data folder: its notepad/ when that (or, before it exists, the data
// folder) is writable and the data folder is not an installed one; else notepad/ in the user's
// data folder. With no user folder known, the data folder's notepad/ stays the choice.
std::string ChooseRecordFolder(const std::string& dataRoot, const UserEnvironment& env,
                               const WritableCheck& writable = CanWriteFolder);

// Copies the record files `names` from `from` into `to` (created if need be) when `to` holds
// none of them yet, so the records of a game that kept them elsewhere carry over once. Each
// file is written through ReplaceFileAtomically. Returns the names copied; a file that cannot
// be read is left out and named in `failed`.
std::vector<std::string> CopyRecordsOnce(const std::string& from, const std::string& to,
                                         const std::vector<std::string>& names,
                                         std::vector<std::string>& failed);

} // namespace platform
