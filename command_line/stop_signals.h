#pragma once

#include <csignal>
#include <iterator>

namespace dotwall::command_line {

// While an object of this lives, SIGINT and SIGTERM do not end the program at once but are
// noted, so the work can stop between two steps and clean up after itself (a temporary file
// not left behind); the program then ends with status 128 + the signal's number. A second
// signal of the same kind ends the program as usual, so one stuck in a write (to a pipe no
// one reads) can still be stopped. A signal the program was started to ignore stays ignored.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // 0 while neither signal came, else the number of the first that came.
    static int received();
    // Raises RuntimeError Stopped when a signal came, so the work ends between two steps.
    static void throwIfReceived();

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM};
    struct sigaction previous_[std::size(kSignals)]{};
};

}  // namespace dotwall::command_line
