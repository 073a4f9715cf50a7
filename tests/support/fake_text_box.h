#pragma once

#include <string>
#include <utility>

#include "text_box.h"

namespace dotwall::testing {

// A text box that only holds its text and counts how often it was set.
class FakeTextBox final : public TextBox {
  public:
    explicit FakeTextBox(std::string text) : text_(std::move(text)) {}

    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        ++updates_;
    }

    int updates() const { return updates_; }

  private:
    std::string text_;
    int updates_ = 0;
};

}  // namespace dotwall::testing
