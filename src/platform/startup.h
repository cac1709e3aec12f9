// Marks of the start-up: what has just finished and when, kept until the first picture is
// presented (the bench reports them; nothing else reads them).
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

struct StartupMark {
    std::string what;
    std::chrono::steady_clock::time_point at;
};

// Notes that `what` has just finished. Ignored once the first picture is presented, unless
// `late` (start-up work that goes on beside the first frames, on a thread of its own).
void MarkStartup(std::string what, bool late = false);
// The first picture was presented: the start-up is over (its last mark is this).
void EndStartup();
// Starts a new start-up: the marks are cleared and taken again.
void RestartStartupMarks();
std::vector<StartupMark> StartupMarks();

} // namespace platform
