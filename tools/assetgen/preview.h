// PNG views of the generated files for people: every picture as the game keys it, a contact
// sheet of all of them, mock screens that put pictures where the game draws them, and the
// models lit as the game lights them.
#pragma once

#include <filesystem>

namespace preview {

// Writes the views into `dir`; false when a file cannot be written.
bool Write(const std::filesystem::path& dir);
// The mock screens alone.
bool WriteScreens(const std::filesystem::path& dir);

} // namespace preview
