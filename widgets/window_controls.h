#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <initializer_list>

#include "widgets/error_guard.h"

// The windows' idiom: controls named and placed in twips as stored, their events run through
// the error guard, and a fixed tab order.
namespace dotwall {

inline constexpr const char* kWindowCaption = "Dotwall";

// Control positions are stored in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

// A control's left, top, width and height in twips, in its parent's coordinates.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, Twips at) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(twipsToPixels(at.left), twipsToPixels(at.top), twipsToPixels(at.width),
                         twipsToPixels(at.height));
    return control;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, Twips at);
QLineEdit* makeTextBox(QWidget* parent, const char* name, const char* text, Twips at,
                       const char* toolTip = nullptr);
// A multi-line box that Tab leaves instead of typing a tab into it.
QPlainTextEdit* makeMultiLineBox(QWidget* parent, const char* name, const char* text, Twips at);

// Shows a text in a one-line box from its first character, as a narrow readout should: Qt
// would otherwise scroll to the end and show "7215" of "16777215".
void showText(QLineEdit* box, const std::string& text);

// Tab visits the controls in this order.
void chainTabOrder(std::initializer_list<QWidget*> order);

// Runs `handler` through the guard whenever `sender` emits `signal`.
template <typename Sender, typename Signal>
void wire(const ErrorGuard& guard, Sender* sender, Signal signal, QObject* receiver,
          std::function<void()> handler) {
    QObject::connect(sender, signal, receiver,
                     [&guard, handler = std::move(handler)] { guard.run(handler); });
}

}  // namespace dotwall
