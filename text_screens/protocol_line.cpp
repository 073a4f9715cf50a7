#include "text_screens/protocol_line.h"

namespace dotwall::text_screens {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

char escaped(char c) {
    switch (c) {
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        default:
            return c;
    }
}

}  // namespace

std::optional<std::vector<std::string>> splitArguments(std::string_view line) {
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    char closing = 0;  // the quote or brace that ends the open one
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size()) {
            argument += escaped(line[++i]);
            inArgument = true;
        } else if (closing != 0) {
            if (c == closing) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
                closing = 0;
            } else {
                argument += c;
            }
        } else if (c == '"' || c == '{') {
            closing = c == '"' ? '"' : '}';
            inArgument = true;
        } else if (isBlank(c)) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (closing != 0) {
        return std::nullopt;
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace dotwall::text_screens
