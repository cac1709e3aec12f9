// The window-message queue: the window's events become messages; the main loop handles one
// pending message per pass and runs a frame only when none is waiting.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

enum MessageId : uint32_t {
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_MOUSEMOVE = 0x0200,
};

struct Msg {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

using WindowProcFn = intptr_t (*)(uint32_t message, uintptr_t wParam, intptr_t lParam);

// The procedure that DispatchMessage hands messages to.
void SetWindowProc(WindowProcFn proc);
// Called by PeekMessage to move the window's pending events into the queue.
void SetEventPump(std::function<void()> pump);

void PostMessage(const Msg& msg);
void PostQuitMessage(int exitCode);
// True when a message is waiting (it stays in the queue).
bool PeekMessage(Msg* msg);
// Takes the next message; returns 0 for the quit message, else nonzero. Only called when
// PeekMessage reported one.
int GetMessage(Msg* msg);
void TranslateMessage(const Msg& msg);
intptr_t DispatchMessage(const Msg& msg);
// Empties the queue (start of a run, tests).
void ResetMessages();

} // namespace platform
