#pragma once

#include <functional>
#include <string>

#include "widgets/message_sink.h"

namespace dotwall {

// Every event handler of a window runs through this guard. A failure ends the handler and
// is shown in one critical box titled with the window's caption; the program goes on.
// Handlers keep the window's state as it was when they fail (they commit their results
// only at their end), so the user loses neither the frame nor the picture.
class ErrorGuard {
  public:
    ErrorGuard(MessageSink& messages, std::string windowCaption)
        : messages_(messages), caption_(std::move(windowCaption)) {}

    // Runs the handler; returns false when it failed and the failure was reported.
    bool run(const std::function<void()>& handler) const;

  private:
    MessageSink& messages_;
    std::string caption_;
};

// The text the guard shows for a failure, e.g. "Overflow: The text "256" ...".
std::string describeCurrentException();

}  // namespace dotwall
