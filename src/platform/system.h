// The window and the factory of the system services. One implementation per platform (sdl/)
// and a null one for headless runs; the entry point chooses, game code never does.
#pragma once

#include <memory>
#include <string>

#include "platform/graphics.h"
#include "platform/sound.h"

namespace platform {

class Mixer;

class Window {
  public:
    virtual ~Window() = default;
    virtual void Show() = 0;
    // Makes the client area exactly this size (the picture is scaled to it when resized later).
    virtual void SetClientSize(int width, int height) = 0;
    // Moves pending window events into the message queue and the keyboard.
    virtual void PumpEvents() = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void SetCursorPos(int x, int y) = 0;
    // Full screen, the picture letterboxed, or a window (F11 and Alt+Enter toggle it).
    virtual void SetFullScreen(bool) {}
    virtual bool FullScreen() const { return false; }
    // The client size the window has, or had last, when not full screen.
    virtual void WindowedSize(int& width, int& height) const { width = 0, height = 0; }
};

enum class DeviceType { HardwareVertexProcessing, SoftwareVertexProcessing, Reference };

class Backend {
  public:
    virtual ~Backend() = default;
    // Null when the window cannot be created.
    virtual std::unique_ptr<Window> CreateMainWindow(const std::string& title, int width,
                                                     int height) = 0;
    // The graphics system itself (before any device); false when it is missing.
    virtual bool CreateGraphics() = 0;
    virtual uint32_t DisplayModeFormat() = 0;
    // Null when a device of this type cannot be made.
    virtual std::unique_ptr<GraphicsDevice> CreateDevice(Window& window, DeviceType type,
                                                         const PresentParameters& params) = 0;
    virtual void ReleaseGraphics() = 0;
    // Starts feeding the mixer's output to the speakers: the device may be opened on a thread
    // of its own, the mixer pulled once it is open. False when there is no output (the mixer
    // then runs silent, pulled by the loop).
    virtual bool StartSoundOutput(Mixer& mixer) = 0;
    virtual void StopSoundOutput() = 0;
    // The start-up error box (also written to standard error).
    virtual void MessageBox(const std::string& text, const std::string& title) = 0;
};

// The program-wide window (null when there is none): the mouse cursor's display count and
// position. The cursor shows while the count is 0 or more; ShowCursor returns the new count.
void SetMainWindow(Window* window);
int ShowCursor(bool show);
void SetCursorPos(int x, int y);

// Whether presenting waits for the display and keeps frames 1/60 s apart (on by default;
// --bench turns it off to measure the work of a frame).
void SetFramePacing(bool on);
bool FramePacing();

// The program-wide device and sound object (null before start-up and after shut-down).
GraphicsDevice* Device();
SoundDevice* Sound();
void SetDevice(GraphicsDevice* device);
void SetSound(SoundDevice* sound);

// Hands the heap's free pages back to the system: called once a scene has loaded, when the
// pictures and files read for it have been freed. (Lowering the allocator's threshold for
// mapping large blocks instead would pay a map and unmap for the renderer's large blocks every
// frame.)
void ReturnFreedMemory();

} // namespace platform
