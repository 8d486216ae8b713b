#pragma once
// A strict reader of one JSON document (RFC 8259: no trailing commas, no
// comments, no single quotes, nothing after the value), into a small tree
// that tests look into.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::wstring text;
    std::vector<JsonValue> items;
    std::map<std::wstring, JsonValue> members;

    // The member `name` of an object; a null value when there is none.
    const JsonValue& operator[](const std::wstring& name) const;
};

// The document's value; nothing when the text is no well-formed JSON.
std::optional<JsonValue> ParseStrictJson(const std::wstring& text);

}  // namespace testing_support
