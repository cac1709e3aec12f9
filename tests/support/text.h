// Where two long texts (state dumps) part; whole text files are read by files.h's ReadText.
#pragma once

#include <algorithm>
#include <string>

#include "support/files.h"

namespace testfiles {

// Empty when equal, else the byte where they part with a little of each around it.
inline std::string FirstDifference(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    const size_t at = std::mismatch(a.begin(), a.begin() + common, b.begin()).first - a.begin();
    if (at == a.size() && at == b.size()) return "";
    const size_t from = at > 80 ? at - 80 : 0;
    return "at byte " + std::to_string(at) + ":\n  first  " + a.substr(from, 160) + "\n  second " +
           b.substr(from, 160);
}

} // namespace testfiles
