#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "widgets/file_chooser.h"
#include "widgets/message_sink.h"

namespace dotwall::testing {

// Message boxes recorded instead of shown, so that a test never waits on one.
struct RecordingMessageSink final : MessageSink {
    struct Message {
        std::string title;
        std::string text;
    };
    void showCritical(const std::string& title, const std::string& text) override {
        messages.push_back({title, text});
    }
    void showNote(const std::string& title, const std::string& text) override {
        notes.push_back({title, text});
    }
    std::vector<Message> messages;
    std::vector<Message> notes;
};

// Answers the open dialog with the test's file name, and keeps how it was asked.
struct AnsweringFileChooser final : FileChooser {
    std::string chooseFileToOpen(const std::string& title,
                                 const std::vector<FileFilter>&) override {
        askedTitle = title;
        ++timesAsked;
        return answer;
    }
    std::string answer;
    std::string askedTitle;
    int timesAsked = 0;
};

// Drives one shown, active window through its real controls, found by their names, with
// real clicks, key presses and mouse moves.
template <typename Window>
class WindowTest : public ::testing::Test {
  protected:
    void show(std::unique_ptr<Window> shown) {
        window = std::move(shown);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();  // keyboard shortcuts reach the active window only
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Control = QWidget>
    Control* control(const char* name) {
        auto* found = window->template findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    // Selects the box's text and types over it, key by key.
    void type(const char* box, const QString& text) {
        auto* edit = control<QLineEdit>(box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    std::string text(const char* box) {
        if (auto* lines = window->template findChild<QPlainTextEdit*>(box)) {
            return lines->toPlainText().toStdString();
        }
        return control<QLineEdit>(box)->text().toStdString();
    }

    std::unique_ptr<Window> window;
    RecordingMessageSink messages;
};

}  // namespace dotwall::testing
