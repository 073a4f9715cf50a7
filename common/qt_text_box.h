#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include "text_box.h"

namespace dotwall {

// Shows a text in a one-line box from its first character, as a narrow readout should: Qt
// would otherwise scroll to the end and show "7215" of "16777215".
inline void showText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
    box->setCursorPosition(0);
}

// A Qt text control seen as a TextBox; works for QLineEdit and QPlainTextEdit alike.
template <typename Control>
class QtTextBox final : public TextBox {
  public:
    explicit QtTextBox(Control* control) : control_(control) {}

    std::string text() const override {
        if constexpr (std::is_same_v<Control, QPlainTextEdit>) {
            return control_->toPlainText().toStdString();
        } else {
            return control_->text().toStdString();
        }
    }
    void setText(const std::string& text) override {
        if constexpr (std::is_same_v<Control, QPlainTextEdit>) {
            control_->setPlainText(QString::fromStdString(text));
        } else {
            showText(control_, text);
        }
    }

  private:
    Control* control_;
};

}  // namespace dotwall
