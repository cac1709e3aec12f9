// Data files. The game names its files relative to the working directory ("./bmp/背景.bmp");
// they are looked up in the data folder chosen at start-up.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

void SetDataRoot(std::string root);
// The data folder built or installed with the executable: <exe dir>/data, else
// <exe dir>/../share/tessarune/data, else the working directory.
std::string DefaultDataRoot();
const std::string& DataRoot();
// The file system path of a game path: relative paths are taken from the data folder, those
// under "./notepad" (the records) from the record folder when one is set.
std::string DataPath(std::string_view gamePath);

// The folder of the player's records: the data folder's notepad/ unless another folder was
// chosen at start-up, or a replay keeps its records apart ("" goes back to notepad/).
void SetRecordFolder(std::string folder);
std::string RecordFolder();
// The file system path of a record file ("Hi Score.txt") in the record folder.
std::string RecordPath(std::string_view name);

// fopen of a game path.
std::FILE* OpenFile(std::string_view gamePath, const char* mode);
// Opens a file system path for reading only if it is a regular file: a pipe, device or
// folder could block the game or never end. Null (errno set) otherwise.
std::FILE* OpenRegularFile(const std::string& path);

enum class ReadResult { kRead, kMissing, kFailed };
// Reads a whole regular file of at most `limit` bytes. kMissing only when nothing exists at
// the path; anything else that stops the read (permissions, I/O, not a regular file, too
// large) is kFailed. `out` is empty unless the file was read.
ReadResult ReadRegularFile(const std::string& path, std::vector<uint8_t>& out, size_t limit);
// Replaces the file at `path` as a whole: a new file of a unique name beside it, created
// exclusively (never through a link or onto anything left over), with the old file's
// permissions (0644 for a new one), synced, renamed over the old one, the folder synced.
bool ReplaceFileAtomically(const std::string& path, const std::string& text);
// The folder of the user's own settings: $XDG_CONFIG_HOME/tessarune when that is an absolute
// path, else $HOME/.config/tessarune; "" when neither is known.
std::string UserConfigFolder();
// The two halves of that replacement, for a file written over time: the new file beside
// `target` (its name in `temp`; -1 on failure), and its sync, close and rename over `target`
// (the new file is removed when that fails).
int CreateFileBeside(const std::string& target, std::string& temp);
bool MoveIntoPlace(int fd, const std::string& temp, const std::string& target);
// write(2) of all of `size` bytes, again after interruptions; async-signal-safe.
bool WriteAll(int fd, const char* data, size_t size);
// Reads a whole game file; false when it cannot be read or is larger than `limit` bytes.
bool ReadFileBytes(std::string_view gamePath, std::vector<uint8_t>& out, size_t limit);

} // namespace platform
