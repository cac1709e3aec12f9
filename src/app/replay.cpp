// Recordings of what a run read from outside and their replays.
#include "app/replay.h"

#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "app/version.h"
#include "menus/options.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "play/opponent.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr int kTimeValuesPerLine = 30;

constexpr std::pair<RunEnd, const char*> kEndNames[] = {
    {RunEnd::kEscape, "escape"}, {RunEnd::kClose, "close"}, {RunEnd::kQuit, "quit"},
    {RunEnd::kFrames, "frames"}, {RunEnd::kStop, "stop"},   {RunEnd::kCrash, "crash"}};

// Record-file names and texts on one line: spaces, line ends, backslashes and control
// characters are escaped.
std::string Escape(std::string_view text, bool spaces) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == ' ' && spaces)
            out += "\\s";
        else if (c < 0x20 || c == 0x7F || c == '#') { // '#' would start a comment
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return false;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 's':
            out += ' ';
            break;
        case 'x': {
            unsigned v = 0;
            if (i + 2 >= text.size()) return false;
            auto r = std::from_chars(text.data() + i + 1, text.data() + i + 3, v, 16);
            if (r.ec != std::errc() || r.ptr != text.data() + i + 3) return false;
            out += static_cast<char>(v);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while ((pos = line.find_first_not_of(" \t\r", pos)) != std::string_view::npos) {
        size_t end = line.find_first_of(" \t\r", pos);
        if (end == std::string_view::npos) end = line.size();
        words.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

template <typename T> bool Number(std::string_view s, T& v, T max) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= 0 && v <= max;
}

// The records folder as the run finds it: its files, with their texts or as unreadable. Left
// over replacements ("NAME.XXXXXX" beside NAME) are left out; of the rest the first
// kMaxNotepadFiles are kept.
void CaptureNotepad(std::vector<NotepadFile>& out) {
    const std::string folder = RecordFolder();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    const std::vector<std::string> all = names;
    std::erase_if(names, [&](const std::string& n) {
        return n.size() > 7 && n[n.size() - 7] == '.' &&
               std::binary_search(all.begin(), all.end(), n.substr(0, n.size() - 7));
    });
    if (names.size() > kMaxNotepadFiles) {
        std::fprintf(stderr, "tessarune: the recording keeps only %zu of the %zu files in '%s'\n",
                     kMaxNotepadFiles, names.size(), folder.c_str());
        names.resize(kMaxNotepadFiles);
    }
    for (const std::string& name : names) {
        NotepadFile file;
        file.name = name;
        std::vector<uint8_t> bytes;
        if (ReadRegularFile(folder + "/" + name, bytes, kMaxNotepadBytes) == ReadResult::kRead)
            file.text.assign(bytes.begin(), bytes.end());
        else
            file.state = NotepadFile::kUnreadable;
        out.push_back(std::move(file));
    }
}

} // namespace

const char* RunEndName(RunEnd end) {
    for (const auto& [e, name] : kEndNames)
        if (e == end) return name;
    return "none";
}

bool ParseRecording(const std::string& text, Recording& out, std::string& error) {
    out = Recording{};
    std::string_view all = text;
    // A last line without its line end was cut short: leave it out.
    if (!all.empty() && all.back() != '\n') all = all.substr(0, all.rfind('\n') + 1);

    bool header = false;
    int64_t segment = 0, upto = -1, lastTap = -1, lastTime = -1, lastHeld = -1;
    int number = 0;
    std::string why;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t eol = all.find('\n', pos);
        std::string_view raw = all.substr(pos, eol - pos);
        pos = eol + 1;
        ++number;
        std::string_view line = raw.substr(0, raw.find('#'));
        auto w = Words(line);
        if (w.empty()) continue;
        auto bad = [&](const std::string& message) {
            error = "recording line " + std::to_string(number) + ": " + message + ": " +
                    std::string(raw.substr(0, 80));
            return false;
        };
        auto frame = [&](std::string_view s, int64_t& f) {
            if (!Number<int64_t>(s, f, kMaxRecordingFrame)) {
                why = s.find_first_not_of("0123456789") == std::string_view::npos
                          ? "frame number over " + std::to_string(kMaxRecordingFrame)
                          : "'" + std::string(s) + "' is not a frame number";
                return false;
            }
            if (f < segment) {
                why = "frame " + std::to_string(f) + " is before frame " + std::to_string(segment) +
                      " of the last 'upto' (frames out of order)";
                return false;
            }
            return true;
        };
        auto keys = [&](const std::vector<std::string_view>& words, std::vector<int>& vks) {
            for (size_t i = 2; i < words.size(); ++i) {
                vks.push_back(KeyFromName(words[i]));
                if (vks.back() < 0) {
                    why = "unknown key '" + std::string(words[i]) + "'";
                    return false;
                }
            }
            return true;
        };
        // Every frame named since the last "upto" comes before `f`.
        auto after = [&](int64_t f) {
            int64_t last = std::max({upto - 1, lastTap, lastTime, lastHeld});
            why = "frame " + std::to_string(f) + " is not after frame " + std::to_string(last) +
                  " named above (frames out of order)";
            return f > last;
        };
        // The first frame of a tap or time line, after `last`, the last one of its kind.
        auto startFrame = [&](const char* form, int64_t last, int64_t& f) {
            why = std::string("expected '") + form + "'";
            if (w.size() < 3 || !frame(w[1], f)) return false;
            why = "frame " + std::to_string(f) + " is not after frame " + std::to_string(last) +
                  " of the line before (frames out of order)";
            return f > last;
        };
        if (!header) {
            int format = 0;
            if (w[0] != "tessarune-replay")
                return bad("not a recording (the first line is not 'tessarune-replay ...')");
            if (w.size() < 2 || !Number(w[1], format, 1000000)) return bad("no format number");
            if (format != kRecordingFormat)
                return bad("format " + std::to_string(format) + " is not known (this game reads " +
                           std::to_string(kRecordingFormat) + ")");
            size_t i = 2;
            if (i + 1 >= w.size() || w[i] != "seed" ||
                !Number<uint32_t>(w[i + 1], out.seed, UINT32_MAX))
                return bad("expected 'seed N' with N from 0 to 4294967295");
            i += 2;
            if (i < w.size() && w[i] == "debug-keys") out.debugKeys = true, ++i;
            if (i + 1 >= w.size() || w[i] != "game") return bad("expected 'game VERSION'");
            size_t at = static_cast<size_t>(w[i + 1].data() - line.data());
            out.version = std::string(line.substr(at, line.find_last_not_of(" \t\r") + 1 - at));
            header = true;
            continue;
        }
        if (out.end != RunEnd::kNone) return bad("a line after the end line");
        const std::string_view kind = w[0];
        if (kind == "levels") {
            if (w.size() != 3 || !Number(w[1], out.music, 3) || !Number(w[2], out.effects, 3))
                return bad("expected 'levels MUSIC EFFECTS', each from 0 to 3");
        } else if (kind == "opponent") {
            if (w.size() != 2 || (out.opponent = CpuLevelFromName(w[1])) < 0)
                return bad("expected 'opponent person', 'easy', 'normal' or 'hard'");
        } else if (kind == "notepad") {
            NotepadFile file;
            if (w.size() < 3 || !Unescape(w[1], file.name) || file.name.empty() ||
                file.name.find('/') != std::string::npos || file.name == "." || file.name == "..")
                return bad("expected 'notepad NAME = TEXT', 'missing' or 'unreadable'");
            if (out.notepad.size() >= kMaxNotepadFiles) return bad("too many record files");
            if (w[2] == "missing" && w.size() == 3)
                file.state = NotepadFile::kMissing;
            else if (w[2] == "unreadable" && w.size() == 3)
                file.state = NotepadFile::kUnreadable;
            else if (w[2] == "=") {
                size_t at = static_cast<size_t>(w[2].data() - line.data()) + 1;
                std::string_view rest = line.substr(at);
                if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
                if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
                if (!Unescape(rest, file.text) || file.text.size() > kMaxNotepadBytes)
                    return bad("bad escape in the record file's text");
            } else
                return bad("expected 'notepad NAME = TEXT', 'missing' or 'unreadable'");
            out.notepad.push_back(std::move(file));
        } else if (kind == "tap") {
            int64_t f = 0;
            if (!startFrame("tap FRAME KEY...", lastTap, f)) return bad(why);
            lastTap = f;
            std::vector<int> tapped;
            if (!keys(w, tapped)) return bad(why);
            for (int vk : tapped) out.taps.emplace_back(f, vk);
        } else if (kind == "time") {
            int64_t f = 0;
            if (!startFrame("time FRAME MS...", lastTime, f)) return bad(why);
            for (size_t i = 2; i < w.size(); ++i, ++f) {
                if (f > kMaxRecordingFrame)
                    return bad("frame number over " + std::to_string(kMaxRecordingFrame));
                std::string_view values = w[i];
                while (true) {
                    size_t comma = values.find(',');
                    uint32_t ms = 0;
                    if (!Number<uint32_t>(values.substr(0, comma), ms, UINT32_MAX))
                        return bad("'" + std::string(values.substr(0, comma)) +
                                   "' is not a reading from 0 to 4294967295");
                    out.time.emplace_back(f, ms);
                    if (comma == std::string_view::npos) break;
                    values.remove_prefix(comma + 1);
                }
                lastTime = f;
            }
        } else if (kind == "upto") {
            int64_t f = 0;
            if (w.size() != 2) return bad("expected 'upto FRAMES'");
            if (!frame(w[1], f)) return bad(why);
            if (f <= upto || !after(f)) return bad(why);
            upto = segment = f;
        } else if (kind == "end") {
            int64_t f = 0;
            if (w.size() < 3) return bad("expected 'end FRAMES HOW'");
            if (!frame(w[1], f)) return bad(why);
            for (const auto& [e, name] : kEndNames)
                if (w[2] == name) out.end = e;
            if (out.end == RunEnd::kNone) return bad("unknown end '" + std::string(w[2]) + "'");
            if (out.end == RunEnd::kCrash && (w.size() != 4 || !Number(w[3], out.signal, 1000)))
                return bad("expected 'end FRAMES crash SIGNAL'");
            if (out.end != RunEnd::kCrash && w.size() != 3) return bad("expected 'end FRAMES HOW'");
            if (!after(f)) return bad(why);
            out.frames = f;
        } else if (!kind.empty() && kind[0] >= '0' && kind[0] <= '9') {
            KeyScriptLine l;
            if (w.size() < 3) return bad("expected 'FROM TO KEY...'");
            if (!frame(w[0], l.from) || !frame(w[1], l.to)) return bad(why);
            if (l.to < l.from) return bad("TO is before FROM");
            if (!keys(w, l.keys)) return bad(why);
            lastHeld = std::max(lastHeld, l.to);
            out.held.push_back(std::move(l));
        } else {
            return bad("unknown line");
        }
    }
    if (!header) {
        error = "recording: no header line (the file is empty or cut inside its first line)";
        return false;
    }
    if (out.end == RunEnd::kNone) out.frames = std::max<int64_t>(upto, 0);
    return true;
}

bool LoadRecording(const std::string& path, Recording& out, std::string& error) {
    std::string text;
    if (!ReadInputFile(path, "recording", kMaxRecordingBytes, text, error)) return false;
    if (ParseRecording(text, out, error)) return true;
    error = "'" + path + "': " + error;
    return false;
}

// The recorder.

bool Recorder::Start(const std::string& path, uint32_t seed, bool debugKeys, std::string& error) {
    std::vector<NotepadFile> notepad;
    CaptureNotepad(notepad);
    if (!journal_.Open(path)) {
        error = "cannot create the recording beside '" + path + "'";
        return false;
    }
    std::fill(std::begin(openFrom_), std::end(openFrom_), -1);
    // The run starts from a keyboard with nothing held or pressed, as its replay does.
    TheKeyboard().Restore({});
    std::string head = "tessarune-replay " + std::to_string(kRecordingFormat) + " seed " +
                       std::to_string(seed) + (debugKeys ? " debug-keys" : "") + " game " +
                       GameVersion() + "\n";
    head += "levels " + std::to_string(Options.StartSound) + " " + std::to_string(Options.StartSe) +
            "\n";
    head += "opponent " + std::string(CpuLevelName(Opponents.right)) + "\n";
    for (const NotepadFile& f : notepad) {
        head += "notepad " + Escape(f.name, true);
        head += f.state == NotepadFile::kUnreadable ? " unreadable\n"
                                                    : " = " + Escape(f.text, false) + "\n";
    }
    journal_.Append(head);
    journal_.Flush();
    flushed_ = std::chrono::steady_clock::now();
    return true;
}

namespace {

// Held runs (first frame, key) that end at `lastFrame`; keys that share a first frame share a
// line. Empty runs (a checkpoint reopened them at a frame that never came) are left out.
void WriteRuns(std::vector<std::pair<int64_t, int>> runs, int64_t lastFrame, std::string& out) {
    std::sort(runs.begin(), runs.end());
    int64_t line = -1;
    for (const auto& [from, vk] : runs) {
        if (from > lastFrame || KeyName(vk).empty()) continue;
        if (from != line) {
            if (line >= 0) out += '\n';
            out += std::to_string(from) + " " + std::to_string(lastFrame);
            line = from;
        }
        out += " ";
        out += KeyName(vk);
    }
    if (line >= 0) out += '\n';
}

} // namespace

void Recorder::CloseRuns(int64_t lastFrame, std::string& out) const {
    std::vector<std::pair<int64_t, int>> open;
    for (int vk = 0; vk < 256; ++vk)
        if (openFrom_[vk] >= 0) open.emplace_back(openFrom_[vk], vk);
    WriteRuns(std::move(open), lastFrame, out);
}

void Recorder::CloseTime(std::string& out) const {
    if (timeFrom_ >= 0) out += "time " + std::to_string(timeFrom_) + timeValues_ + "\n";
}

void Recorder::UpdateCrashTail() {
    std::string tail;
    CloseRuns(frame_, tail);
    CloseTime(tail);
    tail += "end " + std::to_string(frame_ + 1) + " crash ";
    journal_.SetCrashTail(tail);
}

void Recorder::BeforeFrame(int64_t frame) {
    if (frame == 0) journal_.CatchFatalSignals();
    frame_ = frame;
    const KeyboardState now = TheKeyboard().Snapshot();
    std::string closed, taps;
    std::vector<std::pair<int64_t, int>> ended;
    for (int vk = 0; vk < 256; ++vk) {
        const bool held = now.held[vk], wasHeld = after_.held[vk];
        if (!held && openFrom_[vk] >= 0) {
            ended.emplace_back(openFrom_[vk], vk);
            openFrom_[vk] = -1;
        }
        if (held && openFrom_[vk] < 0) openFrom_[vk] = frame;
        // Pressed since the last query beyond what going down from up says.
        if (now.pressed[vk] && !after_.pressed[vk] && !(held && !wasHeld) && !KeyName(vk).empty())
            taps += " " + std::string(KeyName(vk));
    }
    WriteRuns(std::move(ended), frame - 1, closed);
    if (!taps.empty()) closed += "tap " + std::to_string(frame) + taps + "\n";
    journal_.Append(closed);
    UpdateCrashTail();
}

uint32_t Recorder::OnClock(uint32_t reading) {
    if (frame_ < 0) return reading; // not during a scene call
    const std::string value = std::to_string(reading);
    if (timeFrom_ >= 0 && timeLast_ == frame_) {
        timeValues_ += "," + value;
    } else {
        if (timeFrom_ >= 0 && (timeLast_ != frame_ - 1 || timeCount_ >= kTimeValuesPerLine)) {
            std::string line;
            CloseTime(line);
            journal_.Append(line);
            timeFrom_ = -1;
        }
        if (timeFrom_ < 0) {
            timeFrom_ = frame_;
            timeValues_.clear();
            timeCount_ = 0;
        }
        timeValues_ += " " + value;
        ++timeCount_;
        timeLast_ = frame_;
    }
    UpdateCrashTail();
    return reading;
}

void Recorder::Checkpoint(int64_t framesDone) {
    std::string text;
    CloseRuns(framesDone - 1, text);
    for (int64_t& from : openFrom_)
        if (from >= 0) from = framesDone; // the run goes on in the next part
    CloseTime(text);
    timeFrom_ = timeLast_ = -1;
    text += "upto " + std::to_string(framesDone) + "\n";
    journal_.Append(text);
    journal_.Flush();
    flushed_ = std::chrono::steady_clock::now();
    checkpoint_ = framesDone;
    UpdateCrashTail();
}

void Recorder::AfterFrame(int64_t frame, int32_t sceneId) {
    after_ = TheKeyboard().Snapshot();
    const bool changed = sceneId != scene_;
    scene_ = sceneId;
    // Each second of play, counted in frames and on the clock (frames can be slow).
    if (changed || frame + 1 - checkpoint_ >= 60 ||
        std::chrono::steady_clock::now() - flushed_ >= std::chrono::milliseconds(900))
        Checkpoint(frame + 1);
    else
        UpdateCrashTail();
}

bool Recorder::Finish(int64_t frames, RunEnd end) {
    std::string text;
    CloseRuns(frames - 1, text);
    CloseTime(text);
    text += "end " + std::to_string(frames) + " " + RunEndName(end) + "\n";
    return journal_.Finish(text);
}

// The replayer.

Replayer::Replayer(Recording recording) : rec_(std::move(recording)) {
    for (const KeyScriptLine& l : rec_.held)
        for (int vk : l.keys) {
            heldEvents_.emplace_back(l.from, vk);
            heldEvents_.emplace_back(l.to + 1, -vk - 1);
        }
    std::stable_sort(heldEvents_.begin(), heldEvents_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

Replayer::~Replayer() {
    SetClockFilter(nullptr);
    SetRecordFolder(playerRecords_);
    ClearSeedOverride();
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

bool Replayer::Start(std::string& error) {
    std::string pattern = (fs::temp_directory_path() / "tessarune-replay-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "cannot make a folder for the replay's records in " +
                fs::temp_directory_path().string();
        return false;
    }
    folder_ = pattern;
    const std::string notepad = folder_ + "/notepad";
    std::error_code ec;
    if (!rec_.notepad.empty()) fs::create_directory(notepad, ec);
    for (const NotepadFile& f : rec_.notepad) {
        const std::string path = notepad + "/" + f.name;
        if (f.state == NotepadFile::kUnreadable)
            fs::create_directory(path, ec); // read as the run read it: not a regular file
        else if (f.state == NotepadFile::kText)
            std::ofstream(path, std::ios::binary)
                .write(f.text.data(), static_cast<std::streamsize>(f.text.size()));
    }
    UseSoundLevels(rec_.music, rec_.effects);
    Opponents.right = rec_.opponent;
    playerRecords_ = RecordFolder();
    SetRecordFolder(notepad);
    OverrideSeed(rec_.seed);
    EnableDebugKeys(rec_.debugKeys);
    return true;
}

bool Replayer::BeforeFrame(int64_t frame) {
    frame_ = frame;
    if (frame >= rec_.frames && rec_.end != RunEnd::kFrames) {
        if (!endPosted_) {
            endPosted_ = true;
            if (rec_.end == RunEnd::kEscape)
                PostMessage({WM_KEYDOWN, static_cast<uintptr_t>(VK_ESCAPE), 0});
            else if (rec_.end == RunEnd::kClose)
                PostMessage({WM_DESTROY, 0, 0});
            else
                PostQuitMessage(0);
            if (rec_.end == RunEnd::kQuit && divergedAt_ < 0) divergedAt_ = frame;
        }
        return false;
    }
    // Readings the run took that the replay did not ask for.
    while (nextTime_ < rec_.time.size() && rec_.time[nextTime_].first < frame) {
        if (divergedAt_ < 0) divergedAt_ = rec_.time[nextTime_].first;
        ++nextTime_;
    }
    while (nextHeld_ < heldEvents_.size() && heldEvents_[nextHeld_].first <= frame) {
        int key = heldEvents_[nextHeld_++].second;
        if (key >= 0)
            ++heldCount_[key];
        else
            --heldCount_[-key - 1];
    }
    KeyboardState state = after_;
    for (int vk = 0; vk < 256; ++vk) {
        const bool held = heldCount_[vk] > 0;
        if (held && !state.held[vk]) state.pressed[vk] = true;
        state.held[vk] = held;
    }
    while (nextTap_ < rec_.taps.size() && rec_.taps[nextTap_].first <= frame) {
        if (rec_.taps[nextTap_].first == frame) state.pressed[rec_.taps[nextTap_].second] = true;
        ++nextTap_;
    }
    TheKeyboard().Restore(state);
    return true;
}

void Replayer::AfterFrame(int64_t) {
    after_ = TheKeyboard().Snapshot();
}

uint32_t Replayer::OnClock(uint32_t reading) {
    if (nextTime_ < rec_.time.size() && rec_.time[nextTime_].first == frame_) {
        lastReading_ = rec_.time[nextTime_++].second;
        return lastReading_;
    }
    // The game reads the clock where the run did not: it has gone its own way.
    if (divergedAt_ < 0) divergedAt_ = frame_;
    return lastReading_ != 0 ? lastReading_ : reading;
}

bool Replayer::LimitReached(int64_t framesRun) const {
    return rec_.end == RunEnd::kFrames && framesRun >= rec_.frames;
}

void Replayer::Report(int64_t framesRun) const {
    if (divergedAt_ >= 0)
        std::fprintf(stderr,
                     "tessarune: the replay left the recorded run at frame %lld (the game read "
                     "the clock or quit where the recording does not); what follows may differ\n",
                     static_cast<long long>(divergedAt_));
    if (framesRun < rec_.frames) return; // ended early (Escape, --frames)
    if (rec_.end == RunEnd::kNone)
        std::fprintf(stderr,
                     "tessarune: the recording ends after frame %lld without its end line (cut "
                     "short, or the recorded run was killed); replayed up to there\n",
                     static_cast<long long>(rec_.frames));
    else if (rec_.end == RunEnd::kCrash)
        std::fprintf(stderr,
                     "tessarune: the recorded run died of signal %d in frame %lld; the replay "
                     "got through it\n",
                     rec_.signal, static_cast<long long>(rec_.frames - 1));
}

bool StartReplay(const CommandLine& options, Harness& harness, std::string& error) {
    Recording recording;
    if (!LoadRecording(options.replay, recording, error)) return false;
    if (recording.version != GameVersion() && !options.replayAnyVersion) {
        error = "'" + options.replay + "' was recorded by tessarune " + recording.version +
                ", and this is tessarune " + GameVersion() +
                "; a replay may differ from what was played (--replay-any-version plays it "
                "anyway)";
        return false;
    }
    auto replayer = std::make_unique<Replayer>(std::move(recording));
    if (!replayer->Start(error)) return false;
    harness.Replay(std::move(replayer));
    return true;
}

bool StartRecording(const CommandLine& options, Harness& harness, std::string& error) {
    // The seed is chosen now, so that the recording names it from its first line.
    const uint32_t seed =
        options.seed ? *options.seed
                     : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch() /
                                             std::chrono::milliseconds(1));
    OverrideSeed(seed);
    auto recorder = std::make_unique<Recorder>();
    if (!recorder->Start(options.record, seed, options.debugKeys, error)) return false;
    harness.Record(std::move(recorder));
    return true;
}
