// The application icon: the game's block emblems on a panel, in the sizes of the desktop's
// icon theme.
#pragma once

#include <filesystem>

#include "canvas.h"

namespace icon {

inline constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The icon painted at `size` x `size` pixels, transparent outside its rounded square.
art::Canvas Paint(int size);
// Writes DIR/<N>x<N>/apps/tessarune.png for every size (the layout of the hicolor theme);
// false when a file cannot be written.
bool Write(const std::filesystem::path& dir);

} // namespace icon
