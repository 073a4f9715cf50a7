#include "widgets/window_controls.h"

namespace dotwall {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, Twips at) {
    auto* button = makeControl<QPushButton>(parent, name, at);
    button->setText(caption);
    return button;
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const char* text, Twips at,
                       const char* toolTip) {
    auto* box = makeControl<QLineEdit>(parent, name, at);
    box->setText(text);
    if (toolTip != nullptr) {
        box->setToolTip(toolTip);
    }
    return box;
}

QPlainTextEdit* makeMultiLineBox(QWidget* parent, const char* name, const char* text, Twips at) {
    auto* box = makeControl<QPlainTextEdit>(parent, name, at);
    box->setPlainText(text);
    box->setTabChangesFocus(true);
    return box;
}

void showText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
    box->setCursorPosition(0);
}

void chainTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* control : order) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

}  // namespace dotwall
