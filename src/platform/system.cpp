// The program-wide device and sound object.
#include "platform/system.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace platform {

namespace {
Window* g_window = nullptr;
int g_cursorCount = 0;
GraphicsDevice* g_device = nullptr;
bool g_pacing = true;
SoundDevice* g_sound = nullptr;
} // namespace

void SetMainWindow(Window* window) {
    g_window = window;
    g_cursorCount = 0;
}

int ShowCursor(bool show) {
    g_cursorCount += show ? 1 : -1;
    if (g_window) g_window->ShowCursor(g_cursorCount >= 0);
    return g_cursorCount;
}

void SetCursorPos(int x, int y) {
    if (g_window) g_window->SetCursorPos(x, y);
}

void SetFramePacing(bool on) {
    g_pacing = on;
}
bool FramePacing() {
    return g_pacing;
}

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

void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace platform
