#pragma once

#include <gtest/gtest.h>

#include "answering_file_chooser.h"
#include "recording_message_sink.h"
#include "temporary_folder.h"
#include "usb_tool/form1.h"
#include "window_test.h"

namespace dotwall::testing {

// A shown DotwallUsb window whose message boxes and open dialog are the test's own and
// whose frame file goes to a temporary folder.
class UsbWindowTest : public WindowTest<usb_tool::Form1> {
  protected:
    void SetUp() override { openWindow(folder / "screen.bin"); }

    void openWindow(const std::filesystem::path& frameFile) {
        services.frameFilePath = frameFile;
        show(std::make_unique<usb_tool::Form1>(services));
    }

    TemporaryFolder folder;
    RecordingMessageSink messages;
    AnsweringFileChooser chooser;
    usb_tool::UsbWindowServices services{.messages = &messages, .fileChooser = &chooser};
};

}  // namespace dotwall::testing
