#pragma once

#include <string>

namespace dotwall {

// Where the programs' message boxes go: a real modal box in the windows, a recorder in
// tests (so a test never blocks on a box).
class MessageSink {
  public:
    virtual ~MessageSink() = default;

    // A critical-error box with one OK button; returns when the user has closed it.
    virtual void showCritical(const std::string& title, const std::string& text) = 0;
    // A note that does not wait for the user: the work it tells of goes on.
    virtual void showNote(const std::string& title, const std::string& text) = 0;
};

}  // namespace dotwall
