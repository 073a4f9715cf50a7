#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/runtime_error.h"
#include "base/stop_signals.h"

// The command lines of DotwallFrame, DotwallPanel and DotwallLpt: one skeleton on Qt's
// parser, with every option described, the help made from those descriptions, one rule for
// file names and numbers, and one set of exit statuses.
namespace dotwall::command_line {

inline constexpr int kDone = 0;
inline constexpr int kBadInputOrOutput = 1;
inline constexpr int kWrongUsage = 2;
using dotwall::kStoppedBySignal;  // plus the signal's number, as a shell reports it

// "DotwallFrame 1.0.0": the program's name and the version of Dotwall it belongs to.
std::string versionLine(const std::string& program);

// A command line that does not say what to do: WrongUsage, its message saying why.
RuntimeError wrongUsage(const std::string& message);

// A word the program takes where a file or a number goes.
struct Argument {
    std::string name;  // as the help shows it, e.g. "PICTURE"
    std::string description;
    bool required = true;
    bool repeated = false;  // the last argument only: it takes every word left
};

struct Option {
    std::vector<std::string> names;  // one letter for -o, more for --output
    std::string valueName;           // e.g. "FILE"; empty for an option without a value
    std::string description;
    bool required = false;
    // The value taken when the option is given without one ("--loop" alone, not followed by
    // a whole number); empty: the value must be given.
    std::string implicitValue = {};
};

// What a command line said. File names and other values are the words' own bytes, whatever
// their encoding.
class ParsedLine {
  public:
    bool isSet(const std::string& option) const;
    // The option's value; nullopt when it was not given.
    std::optional<std::string> value(const std::string& option) const;
    // The option's value as a whole number from `lowest` to `highest` (see wholeNumber);
    // `fallback` when it was not given.
    long number(const std::string& option, long lowest, long highest, long fallback) const;
    // The arguments, in order; the optional ones only when given.
    const std::vector<std::string>& arguments() const { return arguments_; }
    std::optional<std::string> argument(std::size_t index) const;

  private:
    friend class CommandLine;
    std::vector<std::pair<std::string, std::string>> values_;  // each given option's name, value
    std::vector<std::string> arguments_;
};

// One program's command line, or one command's: `program` ("DotwallFrame"), `command` ("usb",
// or empty for a program without commands), a sentence or two of what it does, its
// arguments (the required ones first) and options. --version, -h and --help are added.
class CommandLine {
  public:
    CommandLine(std::string program, std::string command, std::string description,
                std::vector<Argument> arguments, std::vector<Option> options);

    // Reads the words after the program's name (and command). When they ask for help, prints
    // it to standard output and returns nullopt. Raises WrongUsage naming what was wrong: an
    // unknown option (with how to give a file whose name begins with '-'), a missing or empty
    // value, a missing or extra argument, a missing option that is required. "--" ends the
    // options: the words after it are arguments.
    std::optional<ParsedLine> parse(const std::vector<std::string>& words) const;

    // "DotwallFrame usb PICTURE [-o FILE]"
    std::string synopsis() const;
    std::string help() const;
    // The command's name, or the program's when it has no commands.
    std::string name() const { return command_.empty() ? program_ : command_; }

  private:
    const Option* optionNamed(const std::string& name) const;
    // The first word before "--" that starts with '-' but names no option (a file's name,
    // most likely), the options' values skipped; nullopt when there is none.
    std::optional<std::string> unknownOptionWord(const std::vector<std::string>& words) const;
    // The words with "--name" of an option that has an implicit value, and no whole number
    // after it, given as "--name=VALUE".
    std::vector<std::string> withImplicitValues(const std::vector<std::string>& words) const;

    std::string program_;
    std::string command_;
    std::string description_;
    std::vector<Argument> arguments_;
    std::vector<Option> options_;
};

// One command of a program of several, such as DotwallFrame's usb: its command line, a line
// for the program's help, and its work.
struct Command {
    CommandLine line;
    std::string summary;
    std::function<void(const ParsedLine&)> run;
};

// A program whose first word names one of `commands`: reads the words after the program's
// name and runs the command they name, or prints the program's help (made of each command's
// synopsis and summary) or the command's. Raises WrongUsage for no command or an unknown one.
void runCommand(const std::string& program, const std::string& description,
                const std::vector<Command>& commands, const std::vector<std::string>& words);

// Runs a program's work and turns what it raises into its exit status, with one line on
// standard error naming what was wrong: WrongUsage 2 (and where the help is), Stopped 128 +
// the signal's number (see StopSignals), any other failure 1. Returns the work's own status
// when it ends by itself, unless what it printed on standard output could not be written
// (see standard_output.h): then 1, with "Cannot write to standard output: <reason>.".
// SIGPIPE is ignored from the start, so a pipe no one reads is such a failure.
int runProgram(const std::string& program, const std::function<int()>& work);

}  // namespace dotwall::command_line
