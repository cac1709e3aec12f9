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
// The file system path of a game path: relative paths are taken from the data folder.
std::string DataPath(std::string_view gamePath);

// fopen of a game path.
std::FILE* OpenFile(std::string_view gamePath, const char* mode);
// Reads a whole file; false when it cannot be read or is larger than `limit` bytes.
bool ReadFileBytes(std::string_view gamePath, std::vector<uint8_t>& out, size_t limit);

} // namespace platform
