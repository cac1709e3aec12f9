// The window-message queue.
#include "platform/messages.h"

#include <deque>

namespace platform {

namespace {
struct Queue {
    std::deque<Msg> pending;
    WindowProcFn proc = nullptr;
    std::function<void()> pump;
};
Queue& Q() {
    static Queue q;
    return q;
}
} // namespace

void SetWindowProc(WindowProcFn proc) {
    Q().proc = proc;
}
void SetEventPump(std::function<void()> pump) {
    Q().pump = std::move(pump);
}

void PostMessage(const Msg& msg) {
    Q().pending.push_back(msg);
}

void PostQuitMessage(int exitCode) {
    PostMessage({WM_QUIT, static_cast<uintptr_t>(exitCode), 0});
}

bool PeekMessage(Msg* msg) {
    if (Q().pump) Q().pump();
    if (Q().pending.empty()) return false;
    if (msg) *msg = Q().pending.front();
    return true;
}

int GetMessage(Msg* msg) {
    if (Q().pending.empty()) return -1;
    Msg m = Q().pending.front();
    Q().pending.pop_front();
    if (msg) *msg = m;
    return m.message == WM_QUIT ? 0 : 1;
}

void TranslateMessage(const Msg&) {}

intptr_t DispatchMessage(const Msg& msg) {
    return Q().proc ? Q().proc(msg.message, msg.wParam, msg.lParam) : 0;
}

void ResetMessages() {
    Q().pending.clear();
}

} // namespace platform
