// The program-wide device and sound object.
#include "platform/system.h"

namespace platform {

namespace {
GraphicsDevice* g_device = nullptr;
SoundDevice* g_sound = nullptr;
} // namespace

GraphicsDevice* Device() {
    return g_device;
}
SoundDevice* Sound() {
    return g_sound;
}
void SetDevice(GraphicsDevice* device) {
    g_device = device;
}
void SetSound(SoundDevice* sound) {
    g_sound = sound;
}

} // namespace platform
