#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include "text_box.h"

namespace dotwall {

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
            control_->setText(QString::fromStdString(text));
        }
    }

  private:
    Control* control_;
};

}  // namespace dotwall
