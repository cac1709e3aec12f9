// Fuzz target: the recording reader on arbitrary text. A recording it accepts names only
// frames up to the frames it replays (or beyond, in the part after its last "upto" that a
// cut file leaves), known keys, and record files with plain names.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/replay.h"
#include "platform/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Recording r;
    std::string error;
    if (!ParseRecording(text, r, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (r.frames < 0 || r.frames > kMaxRecordingFrame || r.version.empty()) std::abort();
    for (const KeyScriptLine& l : r.held) {
        if (l.from < 0 || l.to < l.from || l.keys.empty()) std::abort();
        if (r.end != RunEnd::kNone && l.to >= r.frames) std::abort();
        for (int vk : l.keys)
            if (vk < 1 || vk > 255) std::abort();
    }
    for (size_t i = 1; i < r.taps.size(); ++i)
        if (r.taps[i].first < r.taps[i - 1].first) std::abort();
    for (size_t i = 1; i < r.time.size(); ++i)
        if (r.time[i].first < r.time[i - 1].first) std::abort();
    if (r.notepad.size() > kMaxNotepadFiles) std::abort();
    for (const NotepadFile& f : r.notepad)
        if (f.name.empty() || f.name.find('/') != std::string::npos || f.name == "." ||
            f.name == ".." || f.text.size() > kMaxNotepadBytes)
            std::abort();
    // The first frames of its replay, and a clock read in each.
    const int64_t frames = std::min<int64_t>(r.frames + 2, 300);
    Replayer replayer(std::move(r));
    for (int64_t f = 0; f < frames; ++f) {
        if (!replayer.BeforeFrame(f)) break;
        replayer.OnClock(static_cast<uint32_t>(f));
        replayer.AfterFrame(f);
    }
    platform::ResetMessages();
    return 0;
}
