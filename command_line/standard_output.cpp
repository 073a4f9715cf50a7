#include "command_line/standard_output.h"

#include <stdio_ext.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace dotwall::command_line {

void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

std::string flushStandardOutput() {
    errno = 0;
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return {};
    }
    const int error = errno;
    __fpurge(stdout);
    return error != 0 ? std::strerror(error) : "an earlier write to it failed";
}

}  // namespace dotwall::command_line
