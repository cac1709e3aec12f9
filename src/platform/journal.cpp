// A text file written while it grows and complete after any exit of the program.
#include "platform/journal.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

// Signals that end the program: crashes always; the polite ones only while nobody else (the
// window system turns them into a close of the window) handles them.
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP};
constexpr int kPoliteSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
constexpr int kSignalSlots = 65;

std::atomic<Journal*> g_open{nullptr};
struct sigaction g_previous[kSignalSlots];
bool g_installed[kSignalSlots] = {};

} // namespace

void OnFatalSignal(int signal) {
    if (Journal* journal = g_open.exchange(nullptr)) journal->WriteOnSignal(signal);
    // The previous disposition takes the signal, which is pending until this handler returns.
    if (signal > 0 && signal < kSignalSlots) ::sigaction(signal, &g_previous[signal], nullptr);
    ::raise(signal);
}

namespace {

void Install() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    for (int s : kCrashSignals)
        if (!g_installed[s]) g_installed[s] = ::sigaction(s, &action, &g_previous[s]) == 0;
    for (int s : kPoliteSignals) {
        struct sigaction current;
        if (g_installed[s]) continue;
        if (::sigaction(s, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
        g_installed[s] = ::sigaction(s, &action, &g_previous[s]) == 0;
    }
}

void Uninstall() {
    for (int s = 0; s < kSignalSlots; ++s) {
        if (g_installed[s]) ::sigaction(s, &g_previous[s], nullptr);
        g_installed[s] = false;
    }
}

} // namespace

Journal::~Journal() {
    if (IsOpen()) Finish();
}

bool Journal::Open(const std::string& target) {
    Journal* none = nullptr;
    if (IsOpen() || g_open.load() != nullptr) {
        errno = EBUSY;
        return false;
    }
    fd_ = CreateFileBeside(target, temp_);
    if (fd_ < 0) return false;
    target_ = target;
    failed_ = false;
    used_ = 0;
    written_ = 0;
    tailSize_[0] = tailSize_[1] = 0;
    if (!g_open.compare_exchange_strong(none, this)) {
        ::close(fd_);
        ::unlink(temp_.c_str());
        fd_ = -1;
        errno = EBUSY;
        return false;
    }
    return true;
}

void Journal::CatchFatalSignals() {
    if (IsOpen() && g_open.load() == this) Install();
}

void Journal::Append(std::string_view text) {
    if (!IsOpen()) return;
    if (used_ + text.size() > kBufferBytes) Flush();
    if (used_ + text.size() > kBufferBytes) {
        // Too long for the buffer, or the buffer could not be written out.
        if (!(used_ == 0 && WriteAll(fd_, text.data(), text.size()))) failed_ = true;
        return;
    }
    size_t used = used_;
    std::memcpy(buffer_ + used, text.data(), text.size());
    used_ = used + text.size(); // published only once the bytes are there
}

void Journal::SetCrashTail(std::string_view text) {
    if (text.size() > kTailBytes) text = {};
    int next = 1 - tailShown_.load();
    std::memcpy(tails_[next], text.data(), text.size());
    tailSize_[next] = text.size();
    tailShown_ = next;
}

bool Journal::WriteBuffered() {
    size_t used = used_;
    for (size_t done = written_; done < used;) {
        ssize_t n = ::write(fd_, buffer_ + done, used - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
        written_ = done;
    }
    used_ = 0;
    written_ = 0;
    return true;
}

bool Journal::Flush() {
    if (!IsOpen()) return false;
    if (!WriteBuffered()) failed_ = true;
    return !failed_;
}

bool Journal::Finish(std::string_view last) {
    if (!IsOpen()) return false;
    Append(last);
    bool ok = Flush();
    Journal* self = this;
    g_open.compare_exchange_strong(self, nullptr);
    Uninstall();
    int fd = fd_;
    fd_ = -1;
    // What could be written is kept even when some could not: it is whole up to a point.
    return MoveIntoPlace(fd, temp_, target_) && ok;
}

void Journal::WriteOnSignal(int signal) {
    size_t used = used_, written = written_;
    if (used > written) WriteAll(fd_, buffer_ + written, used - written);
    int shown = tailShown_.load();
    WriteAll(fd_, tails_[shown], tailSize_[shown]);
    char digits[16];
    size_t n = sizeof digits;
    digits[--n] = '\n';
    unsigned value = signal > 0 ? static_cast<unsigned>(signal) : 0;
    do {
        digits[--n] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && n > 0);
    WriteAll(fd_, digits + n, sizeof digits - n);
    ::fsync(fd_);
    ::rename(temp_.c_str(), target_.c_str());
}

} // namespace platform
