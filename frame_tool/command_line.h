#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dotwall::frame_tool {

enum class Command { Usb, Lpt, Stream, Preview, Play };

// What the command line asks for. `help` set means: print the help of `command` (or the
// tool's when no command was named) and do nothing else.
struct Invocation {
    std::optional<Command> command;
    bool help = false;
    std::string input;
    std::string output;
    long frames = 0;  // 0: no limit (play)
    int scale = 1;
};

// A command line that does not say what to do; its message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. Raises UsageError.
Invocation parseCommandLine(const std::vector<std::string>& arguments);

// The help text of a command, or of the whole tool.
std::string helpText(std::optional<Command> command);

}  // namespace dotwall::frame_tool
