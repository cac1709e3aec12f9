// Whole text files, and where two long texts (state dumps) part.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

namespace testfiles {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

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
