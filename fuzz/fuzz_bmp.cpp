// Fuzz target: the BMP decoder on arbitrary bytes; whatever it accepts must be a whole, opaque
// picture of a sane size.
#include <cstdlib>

#include "media/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Image image;
    if (!DecodeBmp(data, size, image)) return 0;
    if (image.width < 1 || image.height < 1 || image.width > 16384 || image.height > 16384 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        std::abort();
    for (uint32_t p : image.pixels)
        if (p >> 24 != 0xFF) std::abort();
    return 0;
}
