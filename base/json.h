#pragma once

#include <string>
#include <string_view>
#include <vector>

// Just enough JSON for the small settings files the tools read (RFC 8259: objects, arrays,
// strings, numbers, true, false, null), in plain C++ so that a port library can read them.
namespace dotwall::json {

struct Value {
    enum class Type { Null, Boolean, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Value> array;       // an array's items, or an object's values
    std::vector<std::string> keys;  // an object's keys, in the order written

    // "a number", "a string", ... for messages.
    std::string kind() const;
};

// Parses a whole document; \u escapes become UTF-8, a surrogate pair one character. Text that
// is no JSON raises RuntimeError InvalidSetting saying what was expected where: "a ',' or '}'
// was expected at line 3, column 7"; half a surrogate pair, which is no character, the key
// that holds it: `"name" holds \ud800, half of a surrogate pair without the other half, at
// line 1, column 10`.
Value parse(std::string_view text);

// The text of a string value, quoted and escaped as JSON writes it.
std::string quoted(std::string_view text);

}  // namespace dotwall::json
