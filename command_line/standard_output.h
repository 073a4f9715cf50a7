#pragma once

#include <string>

// What a program prints on standard output (its help, a profile, a status line) is part of
// its work: a write that fails there fails the command, as a file's does.
namespace dotwall::command_line {

// Ignores SIGPIPE from here on, so that printing into a pipe no one reads fails with EPIPE,
// which is reported, instead of killing the program.
void ignoreBrokenPipes();

// Sends what is still buffered for standard output. Returns why a write to it failed, now or
// earlier, or an empty string when all of it was written. What could not be written is
// dropped, so that the program's exit does not try again.
std::string flushStandardOutput();

}  // namespace dotwall::command_line
