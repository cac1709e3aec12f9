// Writers of the file formats the game reads (BMP, WAVE, DirectX .x text) and of PNG previews.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace out {

// The data folder that files are written to.
void SetRoot(std::filesystem::path root);
// The file system path of a game path ("./bmp/背景.bmp").
std::filesystem::path PathOf(const std::string& gamePath);

// An uncompressed 24-bit bottom-up BMP of 0xRRGGBB pixels given top row first.
std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& rgb);
// A RIFF WAVE file of 16-bit PCM, interleaved channels.
std::vector<uint8_t> EncodeWave(int channels, int rate, const std::vector<int16_t>& samples);

void WriteFile(const std::string& gamePath, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& gamePath, const std::string& text);

// An RGB PNG of 0xRRGGBB pixels, top row first; with `alpha`, an RGBA PNG of 0xAARRGGBB.
bool WritePng(const std::filesystem::path& path, int width, int height,
              const std::vector<uint32_t>& rgb, bool alpha = false);

} // namespace out
