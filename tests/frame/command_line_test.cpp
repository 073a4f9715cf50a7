#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dotwall::frame_tool {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLine, EachCommandWritesToItsOwnDefaultFileUnlessToldOtherwise) {
    const Invocation usb = parseCommandLine({"usb", "cat.bmp"});
    EXPECT_EQ(usb.command, Command::Usb);
    EXPECT_EQ(usb.input, "cat.bmp");
    EXPECT_EQ(usb.output, "screen.bin") << "the name DotwallUsb's Save writes";
    EXPECT_FALSE(usb.help);

    EXPECT_EQ(parseCommandLine({"lpt", "cat.bmp"}).output, "lpt_frame.bin");
    EXPECT_EQ(parseCommandLine({"stream", "cat.bmp", "--frames", "2"}).output, "lpt_stream.bin");

    // Options may come before the input, and the last -o counts.
    const Invocation lpt = parseCommandLine({"lpt", "-o", "a.bin", "cat.bmp", "--output", "b.bin"});
    EXPECT_EQ(lpt.input, "cat.bmp");
    EXPECT_EQ(lpt.output, "b.bin");
}

TEST(CommandLine, StreamTakesAFrameCountAndPreviewAScale) {
    const Invocation stream = parseCommandLine({"stream", "cat.bmp", "--frames", "1000000"});
    EXPECT_EQ(stream.command, Command::Stream);
    EXPECT_EQ(stream.frames, 1'000'000);

    const Invocation preview = parseCommandLine({"preview", "f.bin", "-o", "p.png"});
    EXPECT_EQ(preview.command, Command::Preview);
    EXPECT_EQ(preview.input, "f.bin");
    EXPECT_EQ(preview.output, "p.png");
    EXPECT_EQ(preview.scale, 1);
    EXPECT_EQ(parseCommandLine({"preview", "f.bin", "-o", "p.png", "--scale", "16"}).scale, 16);
}

TEST(CommandLine, ACommandLineThatDoesNotSayWhatToDoIsAUsageError) {
    for (const Arguments& arguments : std::vector<Arguments>{
             {},
             {"convert", "cat.bmp"},
             {"usb"},
             {"usb", "a.bmp", "b.bmp"},
             {"usb", "cat.bmp", "-o"},
             {"usb", "cat.bmp", "-o", ""},
             {"usb", "cat.bmp", "--verbose"},
             {"usb", "cat.bmp", "--frames", "2"},
             {"lpt", "cat.bmp", "--scale", "2"},
             {"stream", "cat.bmp"},
             {"stream", "cat.bmp", "--frames", "0"},
             {"stream", "cat.bmp", "--frames", "1000001"},
             {"stream", "cat.bmp", "--frames", "3x"},
             {"stream", "cat.bmp", "--frames", "-1"},
             {"stream", "cat.bmp", "--frames", ""},
             {"preview", "f.bin"},
             {"preview", "f.bin", "-o", "p.png", "--scale", "0"},
             {"preview", "f.bin", "-o", "p.png", "--scale", "17"},
         }) {
        std::string line;
        for (const std::string& argument : arguments) {
            line += "[" + argument + "]";
        }
        EXPECT_THROW(parseCommandLine(arguments), UsageError) << line;
    }
}

}  // namespace
}  // namespace dotwall::frame_tool
