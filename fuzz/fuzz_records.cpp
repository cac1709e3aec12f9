// Fuzz target: the two record files on arbitrary text (the score file, then after a NUL byte
// the digit-count file). What is read is valid, and written and read back it is unchanged.
#include <cstdlib>
#include <cstring>
#include <string>

#include "modes/endless/endless.h"

namespace {

bool Same(const EndlessRecords& a, const EndlessRecords& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckCount(int32_t count, int32_t value) {
    if (count < 0 || count > 15 || (value > 0 && count < DigitCount(value))) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t split = text.find('\0');
    const std::string score = text.substr(0, split);
    const std::string keta = split == std::string::npos ? std::string() : text.substr(split + 1);

    EndlessRecords read;
    ParseRecordFiles(read, &score, split == std::string::npos ? nullptr : &keta);
    for (int32_t v :
         {read.RecScore, read.RecCombo, read.RecLevel, read.RecHour, read.RecMin, read.RecSec})
        if (v < 0) std::abort();
    CheckCount(read.RecScoreKeta, read.RecScore);
    CheckCount(read.RecComboKeta, read.RecCombo);
    CheckCount(read.RecLevelKeta, read.RecLevel);

    const std::string written = ScoreFileText(read), writtenKeta = KetaFileText(read);
    EndlessRecords again;
    ParseRecordFiles(again, &written, &writtenKeta);
    if (!Same(read, again)) std::abort();
    return 0;
}
