// Hand-made RIFF files for the tests of the file readers, written into a scratch data folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/media_test_files.h"

namespace riff {

inline std::string U16(uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
inline std::string U32(uint32_t v) {
    return U16(static_cast<uint16_t>(v & 0xFFFF)) + U16(static_cast<uint16_t>(v >> 16));
}

// A chunk: its id, a size field (the body's length unless `size` is given), the body and the
// pad byte of an odd-sized body.
inline std::string Chunk(std::string_view id, std::string_view body,
                         std::optional<uint32_t> size = {}) {
    std::string out(id);
    out += U32(size.value_or(static_cast<uint32_t>(body.size())));
    out += body;
    if (body.size() % 2) out += '\0';
    return out;
}

// A RIFF or LIST chunk: the form type followed by its sub-chunks.
inline std::string Form(std::string_view id, std::string_view type, std::string_view body,
                        std::optional<uint32_t> size = {}) {
    return Chunk(id, std::string(type) + std::string(body), size);
}

// The 16-byte body of a PCM "fmt " chunk.
inline std::string PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    return U16(1) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}

// Writes `bytes` to the game path `name` of the scratch folder and returns that path.
inline std::string Put(const ScratchDir& dir, const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return name;
}

} // namespace riff
