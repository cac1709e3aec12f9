// A small JSON writer.
#include "platform/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace platform {

void JsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    Separate();
    out_ += '{';
    first_.push_back(true);
    return *this;
}
JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    first_.pop_back();
    return *this;
}
JsonWriter& JsonWriter::BeginArray() {
    Separate();
    out_ += '[';
    first_.push_back(true);
    return *this;
}
JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    first_.pop_back();
    return *this;
}
JsonWriter& JsonWriter::Key(std::string_view key) {
    Separate();
    out_ += JsonQuote(key);
    out_ += ':';
    afterKey_ = true;
    return *this;
}
JsonWriter& JsonWriter::Value(int64_t v) {
    Separate();
    out_ += std::to_string(v);
    return *this;
}

namespace {
template <typename F> void AppendNumber(std::string& out, F v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}
} // namespace

JsonWriter& JsonWriter::Value(float v) {
    Separate();
    AppendNumber(out_, v);
    return *this;
}
JsonWriter& JsonWriter::Value(double v) {
    Separate();
    AppendNumber(out_, v);
    return *this;
}
JsonWriter& JsonWriter::Value(bool v) {
    Separate();
    out_ += v ? "true" : "false";
    return *this;
}
JsonWriter& JsonWriter::Value(std::string_view v) {
    Separate();
    out_ += JsonQuote(v);
    return *this;
}
JsonWriter& JsonWriter::Value(const Vector3& v) {
    return BeginArray().Value(v.x).Value(v.y).Value(v.z).EndArray();
}

JsonWriter& JsonWriter::Null() {
    Separate();
    out_ += "null";
    return *this;
}
JsonWriter& JsonWriter::Raw(std::string_view json) {
    Separate();
    out_ += json;
    return *this;
}

std::string JsonQuote(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

} // namespace platform
