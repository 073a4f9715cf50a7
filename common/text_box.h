#pragma once

#include <string>

namespace dotwall {

// A text box as the logic sees it: get and set its whole text.
class TextBox {
  public:
    virtual ~TextBox() = default;

    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

}  // namespace dotwall
