#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <memory>

#include "answering_file_chooser.h"
#include "form1.h"
#include "qt_printers.h"
#include "recording_message_sink.h"
#include "temporary_folder.h"

namespace dotwall::testing {

// A shown DotwallUsb window whose message boxes and open dialog are the test's own and
// whose frame file goes to a temporary folder.
class UsbWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { openWindow(folder / "screen.bin"); }

    void openWindow(const std::filesystem::path& frameFile) {
        services.frameFilePath = frameFile;
        window = std::make_unique<usb_tool::Form1>(services);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Keyboard shortcuts such as Ctrl+O reach the active window only.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Control>
    Control* control(const char* name) {
        auto* found = window->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    TemporaryFolder folder;
    RecordingMessageSink messages;
    AnsweringFileChooser chooser;
    usb_tool::UsbWindowServices services{.messages = &messages, .fileChooser = &chooser};
    std::unique_ptr<usb_tool::Form1> window;
};

}  // namespace dotwall::testing
