// A small JSON writer for the dump, the trace and the benchmark reports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& Value(int64_t v);
    JsonWriter& Value(int32_t v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(uint32_t v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(float v);  // shortest text that reads back as the same float
    JsonWriter& Value(double v); // shortest text that reads back as the same double
    JsonWriter& Value(bool v);
    JsonWriter& Value(std::string_view v);
    JsonWriter& Value(const char* v) { return Value(std::string_view(v)); }
    JsonWriter& Value(const Vector3& v); // [x, y, z]
    // A fixed-size array, nested arrays as nested JSON arrays (boards, pairs, rows).
    template <typename T, size_t N> JsonWriter& Value(const T (&values)[N]) {
        BeginArray();
        for (const T& v : values) Value(v);
        return EndArray();
    }
    JsonWriter& Null();
    // A text that is already JSON.
    JsonWriter& Raw(std::string_view json);

    template <typename T> JsonWriter& Field(std::string_view key, const T& v) {
        Key(key);
        return Value(v);
    }

    const std::string& str() const { return out_; }

  private:
    void Separate();
    std::string out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

std::string JsonQuote(std::string_view s);

} // namespace platform
