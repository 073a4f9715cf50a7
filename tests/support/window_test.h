#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <memory>

#include "qt_printers.h"

namespace dotwall::testing {

// A test that drives one shown, active window of the given kind through its real controls,
// found by their names.
template <typename Window>
class WindowTest : public ::testing::Test {
  protected:
    void show(std::unique_ptr<Window> shown) {
        window = std::move(shown);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Keyboard shortcuts such as Ctrl+O reach the active window only.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Control>
    Control* control(const char* name) {
        auto* found = window->template findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    std::unique_ptr<Window> window;
};

}  // namespace dotwall::testing
