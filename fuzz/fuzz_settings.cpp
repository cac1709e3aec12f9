// Fuzz target: the settings file on arbitrary bytes. What is read is in range, the bindings
// never collide, and the file written from it reads back with the values written and the
// same bindings.
#include <cstdlib>
#include <string>

#include "app/settings.h"

namespace {

bool InRange(const SettingsValues& v) {
    return v.music >= 0 && v.music <= 3 && v.effects >= 0 && v.effects <= 3 &&
           v.width >= kMinWindowSide && v.width <= kMaxWindowSide && v.height >= kMinWindowSide &&
           v.height <= kMaxWindowSide;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxSettingsBytes) return 0; // the game never reads a larger file
    const std::string text(reinterpret_cast<const char*>(data), size);
    SettingsFile read = ParseSettings(text);
    if (!InRange(read.values)) std::abort();
    for (int a = 0; a < static_cast<int>(read.bindings.size()); ++a)
        if (CollidingAction(read.bindings, a) >= 0) std::abort();

    SettingsValues changed = read.values;
    changed.music = 3 - changed.music;
    changed.fullscreen = !changed.fullscreen;
    changed.width = kMinWindowSide + (size % 1000);
    SettingsFile again = ParseSettings(SettingsText(read.lines, changed));
    if (!(again.values == changed) || !(again.bindings == read.bindings)) std::abort();
    return 0;
}
