#pragma once

#include <csignal>
#include <iterator>
#include <string>

namespace dotwall {

// The exit status of a program that a signal stopped: 128 + the signal's number, as a shell
// reports it.
inline constexpr int kStoppedBySignal = 128;

// While an object of this lives, SIGINT, SIGTERM and SIGHUP (the terminal closed) stop the
// work as it allows:
// - while a part of it is half done (a HalfDone lives: a file being written, a panel being
//   fed, a window open), the first signal is noted, so that the work stops between two steps
//   and cleans up after itself (a temporary file not left behind, the frame finished and the
//   port left low, the window closed). Signals that follow are the same stop, since one stop
//   may come as several: GNU timeout signals the program and then its whole process group;
// - a stop that has not ended the program a second later is told once on standard error,
//   and a signal after that stops the work at once: a read or write that a pipe holds up
//   returns, and the work ends where it stands, still cleaning up after itself;
// - otherwise (reading the input, say, which a FIFO may hold up) there is nothing to clean
//   up, and the first signal ends the program at once with status 128 + its number.
// The handlers only note the signal and wake a waiting thread. A signal the program was
// started to ignore stays ignored. SIGPIPE is ignored: a write to a pipe no one reads fails
// and is reported. One object lives at a time; without a descriptor left for waking, the
// signals keep their usual meaning.
class StopSignals {
  public:
    // `program` names the program in the note of a slow stop.
    explicit StopSignals(const std::string& program);
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
    // Whether a signal came after a slow stop was told: the work stops where it stands.
    static bool atOnce();
    // Raises RuntimeError Stopped when a signal came, so the work ends between two steps.
    static void throwIfReceived();
    // Becomes readable at each signal, for a thread that waits in an event loop; read it empty.
    static int wakeDescriptor();

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGALRM};
    struct sigaction previous_[std::size(kSignals)]{};
};

}  // namespace dotwall
