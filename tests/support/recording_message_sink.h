#pragma once

#include <string>
#include <vector>

#include "message_sink.h"

namespace dotwall::testing {

// Records message boxes instead of showing them.
class RecordingMessageSink final : public MessageSink {
  public:
    struct Message {
        std::string title;
        std::string text;
    };

    void showCritical(const std::string& title, const std::string& text) override {
        messages.push_back({title, text});
    }

    std::vector<Message> messages;
};

}  // namespace dotwall::testing
