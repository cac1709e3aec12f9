// The endless mode's records and their two files in the record folder.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "modes/endless/endless.h"
#include "platform/files.h"
#include "ui/digits.h"

EndlessRecords Records;

namespace {

const char* const kScoreFile = kRecordFileNames[0];
const char* const kKetaFile = kRecordFileNames[1];
constexpr size_t kMaxRecordBytes = 1 << 16;

// A record file is rewritten only while its last read succeeded or found no file: one that
// exists but could not be read may still hold the player's records.
struct RecordFile {
    const char* path;
    bool writable = true;
    bool reported = false;
};
RecordFile scoreFile{kScoreFile}, ketaFile{kKetaFile};

// Up to `count` whitespace-separated whole numbers; returns how many were read. Numbers
// beyond the 32-bit range are taken as its limits.
int ParseNumbers(const std::string& text, int64_t* out, int count) {
    size_t pos = 0;
    int n = 0;
    while (n < count) {
        pos = text.find_first_not_of(" \t\r\n\f\v", pos);
        if (pos == std::string::npos) break;
        size_t end = text.find_first_of(" \t\r\n\f\v", pos);
        if (end == std::string::npos) end = text.size();
        const char* first = text.data() + pos;
        if (*first == '+') ++first;
        int64_t v = 0;
        auto r = std::from_chars(first, text.data() + end, v);
        if (r.ec == std::errc::result_out_of_range)
            v = *first == '-' ? std::numeric_limits<int32_t>::min()
                              : std::numeric_limits<int32_t>::max();
        else if (r.ec != std::errc() || r.ptr != text.data() + end)
            break;
        out[n++] = std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max());
        pos = end;
    }
    return n;
}

int32_t NonNegative(int64_t v) {
    return static_cast<int32_t>(std::max<int64_t>(v, 0));
}

// A digit count shows at least all digits of a record above 0 (the counts may be older
// than the records after an interrupted write) and at most what the digit arrays hold.
int32_t ValidKeta(int32_t keta, int32_t value) {
    if (value > 0) keta = std::max(keta, DigitCount(value));
    return std::clamp(keta, 0, 15);
}

// Reads one record file; false when it exists but cannot be read (reported once per run).
bool ReadRecordFile(RecordFile& file, std::string& text) {
    std::vector<uint8_t> bytes;
    platform::ReadResult result =
        platform::ReadRegularFile(platform::RecordPath(file.path), bytes, kMaxRecordBytes);
    file.writable = result != platform::ReadResult::kFailed;
    if (result != platform::ReadResult::kRead) {
        std::fputs("エラー", stdout);
        if (!file.writable && !file.reported) {
            std::fprintf(stderr,
                         "tessarune: cannot read '%s'; it is kept as it is and not rewritten\n",
                         platform::RecordPath(file.path).c_str());
            file.reported = true;
        }
        return false;
    }
    text.assign(bytes.begin(), bytes.end());
    return true;
}

void Write(RecordFile& file, const std::string& text) {
    if (!file.writable) return; // reported when the read failed
    if (!platform::ReplaceFileAtomically(platform::RecordPath(file.path), text))
        std::fputs("エラー", stdout);
}

} // namespace

void ParseRecordFiles(EndlessRecords& r, const std::string* scoreText,
                      const std::string* ketaText) {
    int64_t v[6];
    int32_t* scoreFields[6] = {&r.RecScore, &r.RecCombo, &r.RecLevel,
                               &r.RecHour,  &r.RecMin,   &r.RecSec};
    int n = scoreText ? ParseNumbers(*scoreText, v, 6) : 0;
    for (int i = 0; i < n; ++i) *scoreFields[i] = NonNegative(v[i]);

    int32_t* ketaFields[3] = {&r.RecScoreKeta, &r.RecComboKeta, &r.RecLevelKeta};
    n = ketaText ? ParseNumbers(*ketaText, v, 3) : 0;
    for (int i = 0; i < n; ++i) *ketaFields[i] = NonNegative(v[i]);
    r.RecScoreKeta = ValidKeta(r.RecScoreKeta, r.RecScore);
    r.RecComboKeta = ValidKeta(r.RecComboKeta, r.RecCombo);
    r.RecLevelKeta = ValidKeta(r.RecLevelKeta, r.RecLevel);
}

std::string ScoreFileText(const EndlessRecords& r) {
    char text[96];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d", r.RecScore, r.RecCombo, r.RecLevel,
                  r.RecHour, r.RecMin, r.RecSec);
    return text;
}

std::string KetaFileText(const EndlessRecords& r) {
    char text[48];
    std::snprintf(text, sizeof text, "%d %d %d", r.RecScoreKeta, r.RecComboKeta, r.RecLevelKeta);
    return text;
}

void ReadRecords() {
    std::string score, keta;
    bool haveScore = ReadRecordFile(scoreFile, score);
    bool haveKeta = ReadRecordFile(ketaFile, keta);
    ParseRecordFiles(Records, haveScore ? &score : nullptr, haveKeta ? &keta : nullptr);
    std::fflush(stdout);
}

void WriteRecords() {
    std::error_code ec;
    std::filesystem::create_directories(platform::RecordFolder(), ec);
    // The scores first: should the second replacement not happen, their counts are raised
    // to the new values' digits at the next read.
    Write(scoreFile, ScoreFileText(Records));
    Write(ketaFile, KetaFileText(Records));
    std::fflush(stdout);
}

void ResetRecordFiles() {
    scoreFile = RecordFile{kScoreFile};
    ketaFile = RecordFile{kKetaFile};
}
