#include "base/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/runtime_error.h"

namespace dotwall::json {

namespace {

constexpr int kDeepest = 64;  // nesting deeper than any settings file, and than the stack

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Value document() {
        Value value = this->value(0, "the text");
        skipBlanks();
        if (at_ < text_.size()) {
            fail("the end of the text");
        }
        return value;
    }

  private:
    [[noreturn]] void fail(const std::string& expected) const {
        failAt(expected + " was expected");
    }

    // "<what> at line 3, column 7"
    [[noreturn]] void failAt(const std::string& what) const {
        int line = 1;
        int column = 1;
        for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) {
            column = text_[i] == '\n' ? 1 : column + 1;
            line += text_[i] == '\n' ? 1 : 0;
        }
        throw RuntimeError(ErrorKind::InvalidSetting, what + " at line " + std::to_string(line) +
                                                          ", column " + std::to_string(column));
    }

    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    bool take(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool takeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return true;
        }
        return false;
    }

    // `holder` names what holds the value in messages: its key, quoted, or "the text".
    Value value(int depth, const std::string& holder) {
        if (depth > kDeepest) {
            fail("a shallower nesting");
        }
        skipBlanks();
        Value value;
        if (take('{')) {
            value.type = Value::Type::Object;
            if (!take('}')) {
                do {
                    skipBlanks();
                    std::string key = string("a key");
                    if (!take(':')) {
                        fail("a ':'");
                    }
                    value.array.push_back(this->value(depth + 1, json::quoted(key)));
                    value.keys.push_back(std::move(key));
                } while (take(','));
                if (!take('}')) {
                    fail("a ',' or '}'");
                }
            }
        } else if (take('[')) {
            value.type = Value::Type::Array;
            if (!take(']')) {
                do {
                    value.array.push_back(this->value(depth + 1, holder));
                } while (take(','));
                if (!take(']')) {
                    fail("a ',' or ']'");
                }
            }
        } else if (at_ < text_.size() && text_[at_] == '"') {
            value.type = Value::Type::String;
            value.string = string(holder);
        } else if (takeWord("true")) {
            value.type = Value::Type::Boolean;
            value.boolean = true;
        } else if (takeWord("false")) {
            value.type = Value::Type::Boolean;
        } else if (takeWord("null")) {
            value.type = Value::Type::Null;
        } else {
            value.type = Value::Type::Number;
            value.number = number();
        }
        return value;
    }

    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    double number() {
        const std::size_t start = at_;
        auto digits = [&] {
            const std::size_t first = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
                ++at_;
            }
            return at_ > first;
        };
        takeWord("-");
        if (!takeWord("0") && !digits()) {
            fail("a value");
        }
        if (takeWord(".") && !digits()) {
            fail("a digit");
        }
        if (takeWord("e") || takeWord("E")) {
            if (!takeWord("+")) {
                takeWord("-");
            }
            if (!digits()) {
                fail("a digit");
            }
        }
        const double number =
            std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
        if (!std::isfinite(number)) {
            at_ = start;
            fail("a number of a usable size");
        }
        return number;
    }

    int hexDigit() {
        const char c = at_ < text_.size() ? text_[at_] : '\0';
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) {
            fail("a hexadecimal digit");
        }
        ++at_;
        return digit;
    }

    unsigned hexCode() {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            code = code * 16 + static_cast<unsigned>(hexDigit());
        }
        return code;
    }

    // The character of a \u escape whose four digits come next: a pair of them for one beyond
    // U+FFFF, a high surrogate and then a low one. Half a pair is no character.
    unsigned escapedCode(const std::string& holder) {
        const std::size_t escape = at_ - 2;  // at its backslash
        const unsigned code = hexCode();
        if (code < 0xD800 || code > 0xDFFF) {
            return code;
        }
        unsigned low = 0;
        if (code <= 0xDBFF && takeWord("\\u")) {
            low = hexCode();
        }
        if (low < 0xDC00 || low > 0xDFFF) {
            at_ = escape;
            char half[16];
            std::snprintf(half, sizeof half, "\\u%04x", code);
            failAt(holder + " holds " + half +
                   ", half of a surrogate pair without the other half,");
        }
        return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }

    static void appendUtf8(std::string& text, unsigned code) {
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | code >> 6);
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | code >> 12);
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | code >> 18);
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string string(const std::string& holder) {
        if (!takeWord("\"")) {
            fail("a '\"'");
        }
        std::string text;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                --at_;
                fail("an escaped control character");
            }
            if (c != '\\') {
                text += c;
                continue;
            }
            const char escaped = at_ < text_.size() ? text_[at_++] : '\0';
            const std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
            if (const std::size_t i = from.find(escaped); i != std::string_view::npos) {
                text += to[i];
            } else if (escaped == 'u') {
                appendUtf8(text, escapedCode(holder));
            } else {
                --at_;
                fail("an escape such as \\n");
            }
        }
        if (!takeWord("\"")) {
            fail("a '\"'");
        }
        return text;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::string Value::kind() const {
    switch (type) {
        case Type::Null:
            return "null";
        case Type::Boolean:
            return "true or false";
        case Type::Number:
            return "a number";
        case Type::String:
            return "a string";
        case Type::Array:
            return "a list";
        case Type::Object:
            return "an object";
    }
    return "a value";
}

Value parse(std::string_view text) {
    return Parser(text).document();
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace dotwall::json
