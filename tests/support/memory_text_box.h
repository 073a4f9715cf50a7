#pragma once

#include <string>
#include <utility>

#include "text_box.h"

namespace dotwall::testing {

// A text box that only holds its text.
class MemoryTextBox final : public TextBox {
  public:
    explicit MemoryTextBox(std::string text = {}) : text_(std::move(text)) {}

    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        ++writes;
    }

    int writes = 0;

  private:
    std::string text_;
};

}  // namespace dotwall::testing
