#pragma once

#include <csignal>
#include <iterator>

namespace dotwall::command_line {

// While an object of this lives, SIGINT, SIGTERM and SIGHUP (the terminal closed) stop the
// work as it allows:
// - while a part of it is half done (a HalfDone lives: a file being written, a panel being
//   fed), the signal is noted, so that the work stops between two steps and cleans up after
//   itself (a temporary file not left behind, the frame finished and the port left low); the
//   program then ends with status 128 + the signal's number;
// - otherwise (reading the input, say, which a FIFO may hold up) there is nothing to clean
//   up, and the first signal ends the program at once with that status.
// A second signal of the same kind ends the program as usual, so one stuck in a write (to a
// pipe no one reads) can still be stopped. A signal the program was started to ignore stays
// ignored. SIGPIPE is ignored: a write to a pipe no one reads fails and is reported.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Marks the work half done while it lives.
    class HalfDone {
      public:
        HalfDone();
        ~HalfDone();
        HalfDone(const HalfDone&) = delete;
        HalfDone& operator=(const HalfDone&) = delete;
    };

    // 0 while no signal came, else the number of the first that came.
    static int received();
    // Raises RuntimeError Stopped when a signal came, so the work ends between two steps.
    static void throwIfReceived();

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
    struct sigaction previous_[std::size(kSignals)]{};
};

}  // namespace dotwall::command_line
