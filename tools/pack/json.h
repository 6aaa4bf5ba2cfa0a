// A strict JSON reader (RFC 8259) for the builder's description files:
// UTF-8 only, no comments, no trailing commas, no duplicate keys, numbers as
// integers only where the description needs them. Small enough to build
// with every compiler the project uses, without a library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelmora::pack {

class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a string's UTF-8 value, or a number as written
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in the order written
    int line = 0, column = 0;                                // where the value starts, 1-based
    int keyLine = 0, keyColumn = 0;                          // for an object's member: where its key starts

    const JsonValue* member(std::string_view key) const;
    const char* kindName() const;
};

struct JsonError {
    int line = 0, column = 0;
    std::string message;
};

// Parses a whole document; false with *error set when it is not strict JSON.
// A string that would hold an unpaired surrogate (through "\uD800" escapes)
// or a NUL is refused: neither can reach a Windows text.
bool parseJson(std::string_view document, JsonValue* value, JsonError* error);

}  // namespace pelmora::pack
