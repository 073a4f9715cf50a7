#include "command_line/command_line.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <new>

#include "base/stop_signals.h"
#include "base/whole_number.h"
#include "command_line/standard_output.h"

namespace dotwall::command_line {

namespace {

constexpr std::size_t kHelpWidth = 79;
constexpr const char* kExitStatusHelp =
    "Exit status: 0 done, 1 bad input or output, 2 wrong usage.";

// The parser sees each word byte for byte (Latin-1 gives every byte a character of its own),
// so a file name comes back exactly as the system gave it, whatever its encoding.
QString parserWord(const std::string& word) {
    return QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}

std::string givenWord(const QString& word) {
    return word.toLatin1().toStdString();
}

QStringList parserWords(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& word : words) {
        list.append(parserWord(word));
    }
    return list;
}

// "-o" or "--frames"
std::string dashed(const std::string& name) {
    return (name.size() == 1 ? "-" : "--") + name;
}

std::string withValue(const Option& option) {
    return dashed(option.names.front()) + (option.valueName.empty() ? "" : " " + option.valueName);
}

// `text` broken into lines of at most kHelpWidth characters at its blanks, every line after
// the first indented by `indent` blanks.
std::string wrapped(const std::string& text, std::size_t indent, std::size_t column) {
    std::string lines;
    std::size_t at = column;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string word = text.substr(start, end - start);
        if (at > indent && at + 1 + word.size() > kHelpWidth) {
            lines += "\n" + std::string(indent, ' ');
            at = indent;
        } else if (at > indent) {
            lines += ' ';
            ++at;
        }
        lines += word;
        at += word.size();
        start = end + 1;
    }
    return lines;
}

// A table of names and what they are, the descriptions lined up in one column; a name too
// wide for it has its description on the lines below, so the descriptions keep their room.
std::string table(const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& rows) {
    constexpr std::size_t kWidestBeside = 24;
    std::size_t widest = 0;
    for (const auto& [name, description] : rows) {
        widest = std::max(widest, std::min(name.size(), kWidestBeside));
    }
    std::string text = title + ":\n";
    const std::size_t indent = widest + 4;
    for (const auto& [name, description] : rows) {
        const std::string gap = name.size() > kWidestBeside
                                    ? "\n" + std::string(indent, ' ')
                                    : std::string(indent - 2 - name.size(), ' ');
        text += "  " + name + gap + wrapped(description, indent, indent) + "\n";
    }
    return text;
}

}  // namespace

std::string versionLine(const std::string& program) {
    return program + " " + DOTWALL_VERSION + "\n";
}

RuntimeError wrongUsage(const std::string& message) {
    return RuntimeError(ErrorKind::WrongUsage, message);
}

bool ParsedLine::isSet(const std::string& option) const {
    return value(option).has_value();
}

std::optional<std::string> ParsedLine::value(const std::string& option) const {
    for (const auto& [name, value] : values_) {
        if (name == option) {
            return value;
        }
    }
    return std::nullopt;
}

long ParsedLine::number(const std::string& option, long lowest, long highest, long fallback) const {
    const std::optional<std::string> text = value(option);
    if (!text) {
        return fallback;
    }
    const std::optional<long> number = wholeNumber(*text, lowest, highest);
    if (!number) {
        throw wrongUsage(dashed(option) + " takes a whole number from " + std::to_string(lowest) +
                         " to " + std::to_string(highest) + ", not \"" + *text + "\"");
    }
    return *number;
}

std::optional<std::string> ParsedLine::argument(std::size_t index) const {
    return index < arguments_.size() ? std::optional(arguments_[index]) : std::nullopt;
}

CommandLine::CommandLine(std::string program, std::string command, std::string description,
                         std::vector<Argument> arguments, std::vector<Option> options)
    : program_(std::move(program)),
      command_(std::move(command)),
      description_(std::move(description)),
      arguments_(std::move(arguments)),
      options_(std::move(options)) {
    options_.push_back({{"version"}, "", "Prints the program's name and version and ends."});
    options_.push_back({{"h", "help"}, "", "Prints this help and ends."});
}

const Option* CommandLine::optionNamed(const std::string& name) const {
    for (const Option& option : options_) {
        if (std::find(option.names.begin(), option.names.end(), name) != option.names.end()) {
            return &option;
        }
    }
    return nullptr;
}

std::optional<std::string> CommandLine::unknownOptionWord(
    const std::vector<std::string>& words) const {
    for (std::size_t i = 0; i < words.size() && words[i] != "--"; ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-') {
            continue;
        }
        // "--name" or "--name=VALUE"; "-n", "-nVALUE" or letters run together
        const bool named = word[1] == '-';
        const std::size_t equals = word.find('=');
        const std::string name =
            named ? word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2)
                  : word.substr(1, 1);
        const Option* option = optionNamed(name);
        if (option == nullptr) {
            return word;
        }
        const bool valueFollows = named ? equals == std::string::npos : word.size() == 2;
        i += !option->valueName.empty() && valueFollows ? 1 : 0;
    }
    return std::nullopt;
}

std::vector<std::string> CommandLine::withImplicitValues(
    const std::vector<std::string>& words) const {
    std::vector<std::string> given;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        optionsEnded = optionsEnded || word == "--";
        const Option* option =
            !optionsEnded && word.starts_with("--") ? optionNamed(word.substr(2)) : nullptr;
        const bool numberFollows = i + 1 < words.size() && !words[i + 1].empty() &&
                                   std::all_of(words[i + 1].begin(), words[i + 1].end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
        given.push_back(option != nullptr && !option->implicitValue.empty() && !numberFollows
                            ? word + "=" + option->implicitValue
                            : word);
    }
    return given;
}

std::optional<ParsedLine> CommandLine::parse(const std::vector<std::string>& givenWords) const {
    const std::vector<std::string> words = withImplicitValues(givenWords);
    QCommandLineParser parser;
    for (const Option& option : options_) {
        parser.addOption(QCommandLineOption(parserWords(option.names),
                                            QString::fromStdString(option.description),
                                            QString::fromStdString(option.valueName)));
    }
    QStringList line = parserWords(words);
    line.prepend(QString::fromStdString(program_));
    if (!parser.parse(line)) {
        const std::optional<std::string> unknown =
            parser.unknownOptionNames().isEmpty() ? std::nullopt : unknownOptionWord(words);
        throw wrongUsage(unknown ? "Unknown option \"" + *unknown +
                                       "\"; a file whose name begins with \"-\" is given as ./" +
                                       *unknown + " or after --."
                                 : givenWord(parser.errorText()));
    }
    if (parser.isSet("help")) {
        std::fputs(help().c_str(), stdout);
        return std::nullopt;
    }
    if (parser.isSet("version")) {
        std::fputs(versionLine(program_).c_str(), stdout);
        return std::nullopt;
    }
    ParsedLine parsed;
    for (const QString& given : parser.optionNames()) {
        const Option& option = *optionNamed(givenWord(given));
        const std::string name = option.names.front();
        const std::string value = option.valueName.empty() ? "" : givenWord(parser.value(given));
        if (!option.valueName.empty() && value.empty()) {
            throw wrongUsage(dashed(name) + " needs " + option.valueName + ", not an empty one");
        }
        parsed.values_.emplace_back(name, value);
    }
    for (const Option& option : options_) {
        if (option.required && !parsed.isSet(option.names.front())) {
            throw wrongUsage(name() + " needs " + withValue(option));
        }
    }
    for (const QString& argument : parser.positionalArguments()) {
        parsed.arguments_.push_back(givenWord(argument));
    }
    for (std::size_t i = parsed.arguments_.size(); i < arguments_.size(); ++i) {
        if (arguments_[i].required) {
            throw wrongUsage(name() + " needs " + arguments_[i].name);
        }
    }
    if (parsed.arguments_.size() > arguments_.size() &&
        (arguments_.empty() || !arguments_.back().repeated)) {
        throw wrongUsage("\"" + parsed.arguments_[arguments_.size()] +
                         "\" is one word too many: " + synopsis());
    }
    return parsed;
}

std::string CommandLine::synopsis() const {
    std::string text = program_ + (command_.empty() ? "" : " " + command_);
    for (const Argument& argument : arguments_) {
        text += argument.required ? " " + argument.name : " [" + argument.name + "]";
    }
    for (std::size_t i = 0; i + 2 < options_.size(); ++i) {  // all but --version and --help
        const Option& option = options_[i];
        text += option.required ? " " + withValue(option) : " [" + withValue(option) + "]";
    }
    return text;
}

std::string CommandLine::help() const {
    std::vector<std::pair<std::string, std::string>> arguments;
    for (const Argument& argument : arguments_) {
        arguments.emplace_back(argument.name, argument.description);
    }
    std::vector<std::pair<std::string, std::string>> options;
    for (const Option& option : options_) {
        std::string names;
        for (const std::string& name : option.names) {
            names += (names.empty() ? "" : ", ") + dashed(name);
        }
        options.emplace_back(names + (option.valueName.empty() ? "" : " " + option.valueName),
                             option.description);
    }
    return "Usage: " + synopsis() + "\n" + wrapped(description_, 0, 0) + "\n\n" +
           (arguments.empty() ? "" : table("Arguments", arguments) + "\n") +
           table("Options", options) + "\n" + kExitStatusHelp + "\n";
}

void runCommand(const std::string& program, const std::string& description,
                const std::vector<Command>& commands, const std::vector<std::string>& words) {
    if (words.empty()) {
        throw wrongUsage("no command given");
    }
    if (words.front() == "--version") {
        std::fputs(versionLine(program).c_str(), stdout);
        return;
    }
    if (words.front() == "-h" || words.front() == "--help") {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const Command& command : commands) {
            rows.emplace_back(command.line.synopsis().substr(program.size() + 1), command.summary);
        }
        std::fputs(("Usage: " + program + " COMMAND [OPTIONS]\n" + wrapped(description, 0, 0) +
                    "\n\n" + table("Commands", rows) + "\n" +
                    wrapped("'" + program + " COMMAND --help' tells more of a command; '" +
                                program + " --version' tells its version.",
                            0, 0) +
                    "\n\n" + kExitStatusHelp + "\n")
                       .c_str(),
                   stdout);
        return;
    }
    for (const Command& command : commands) {
        if (command.line.name() == words.front()) {
            if (const auto line = command.line.parse({words.begin() + 1, words.end()})) {
                command.run(*line);
            }
            return;
        }
    }
    throw wrongUsage("unknown command \"" + words.front() + "\"");
}

namespace {

// The work's exit status, with one line on standard error for a failure it raised.
int statusOfWork(const char* name, const std::function<int()>& work) {
    try {
        return work();
    } catch (const RuntimeError& error) {
        if (error.kind() == ErrorKind::WrongUsage) {
            std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", name, error.what(), name);
            return kWrongUsage;
        }
        if (error.kind() == ErrorKind::Stopped) {
            return kStoppedBySignal + StopSignals::received();
        }
        std::fprintf(stderr, "%s: %s\n", name, error.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: Out of memory: the work needed more than the system gave.\n",
                     name);
    } catch (const std::exception& error) {  // the file system's own, say
        std::fprintf(stderr, "%s: %s\n", name, error.what());
    }
    return kBadInputOrOutput;
}

}  // namespace

int runProgram(const std::string& program, const std::function<int()>& work) {
    ignoreBrokenPipes();
    const int status = statusOfWork(program.c_str(), work);
    // Checked before the exit, whose own flush would fail unseen; a work that failed already
    // said why in its one line.
    const std::string unwritten = flushStandardOutput();
    if (unwritten.empty() || status != kDone) {
        return status;
    }
    std::fprintf(stderr, "%s: Cannot write to standard output: %s.\n", program.c_str(),
                 unwritten.c_str());
    return kBadInputOrOutput;
}

}  // namespace dotwall::command_line
