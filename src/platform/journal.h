// A text file written while it grows and complete after any exit of the program.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The file grows beside its target under a unique name (CreateFileBeside); Append buffers,
// Flush writes the buffer out (the owner flushes at least once a second) and Finish renames
// the file over the target. Should the program die of a signal first (a crash, abort, or
// SIGTERM / SIGINT / SIGHUP where nobody else handles them), the handler writes what is
// buffered, then the crash tail, then the signal's number and a line end, syncs, renames the
// file over the target and lets the signal take its course. Only write, fsync and rename run
// in the handler. A file left by SIGKILL or a power cut keeps its unique name and holds what
// was flushed. One journal is open at a time.
class Journal {
  public:
    Journal() = default;
    ~Journal(); // an unfinished journal is finished
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // False (errno set) when the file cannot be created or another journal is open.
    bool Open(const std::string& target);
    bool IsOpen() const { return fd_ >= 0; }
    // From now until Finish the signals above end in the handler. Called once the window
    // system has taken the signals it turns into window events.
    void CatchFatalSignals();
    void Append(std::string_view text);
    // What the file ends with when a signal ends the program now; replaced by each call
    // (kept only up to kTailBytes).
    void SetCrashTail(std::string_view text);
    // False when the file could not be written; the journal goes on buffering.
    bool Flush();
    // Appends `last`, writes everything out and renames the file into place; false when any
    // of it could not be written or the rename failed (the new file is then removed).
    bool Finish(std::string_view last = {});
    const std::string& TempPath() const { return temp_; }

    static constexpr size_t kBufferBytes = size_t{64} << 10;
    static constexpr size_t kTailBytes = 4096;

  private:
    friend void OnFatalSignal(int);
    void WriteOnSignal(int signal);
    bool WriteBuffered();

    int fd_ = -1;
    bool failed_ = false;
    std::string temp_, target_;
    char buffer_[kBufferBytes];
    std::atomic<size_t> used_{0};    // bytes in the buffer
    std::atomic<size_t> written_{0}; // of those, already written by a flush under way
    char tails_[2][kTailBytes];
    std::atomic<size_t> tailSize_[2] = {0, 0};
    std::atomic<int> tailShown_{0};
};

} // namespace platform
