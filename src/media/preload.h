// Pictures read and decoded ahead, on a thread of their own, while the window and the graphics
// device are being made: the first scene's loader then only uploads them.
#pragma once

#include <vector>

#include "media/manifest.h"
#include "platform/graphics.h"

// Starts reading and decoding `files` (pictures; other kinds are skipped), in that order.
// Ends any earlier read-ahead first.
void PreloadPictures(std::vector<const DataFile*> files);
// The texels ReadTextureFile gives for `file`, when it is being read ahead: waits for them and
// hands them over (each once). False when it is not, or could not be read: the caller reads it.
bool TakePreloadedTexture(const DataFile& file, platform::Image& out);
// Waits for the reading thread and forgets what was not taken.
void EndPreload();
