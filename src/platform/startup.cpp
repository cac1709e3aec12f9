// Marks of the start-up.
#include "platform/startup.h"

#include <mutex>

namespace platform {

namespace {
struct Marks {
    std::mutex lock; // the sound output is opened on a thread of its own
    std::vector<StartupMark> marks;
    bool over = false;
};
Marks& TheMarks() {
    static Marks marks;
    return marks;
}
constexpr size_t kMaxMarks = 64;
} // namespace

void MarkStartup(std::string what, bool late) {
    auto now = std::chrono::steady_clock::now();
    Marks& m = TheMarks();
    std::lock_guard<std::mutex> hold(m.lock);
    if ((!m.over || late) && m.marks.size() < kMaxMarks) m.marks.push_back({std::move(what), now});
}

void EndStartup() {
    Marks& m = TheMarks();
    std::lock_guard<std::mutex> hold(m.lock);
    if (m.over) return;
    if (m.marks.size() < kMaxMarks)
        m.marks.push_back({"first picture presented", std::chrono::steady_clock::now()});
    m.over = true;
}

void RestartStartupMarks() {
    Marks& m = TheMarks();
    std::lock_guard<std::mutex> hold(m.lock);
    m.marks.clear();
    m.over = false;
}

std::vector<StartupMark> StartupMarks() {
    Marks& m = TheMarks();
    std::lock_guard<std::mutex> hold(m.lock);
    return m.marks;
}

} // namespace platform
