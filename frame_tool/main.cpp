// DotwallFrame: the windows' packing from the command line.
#include <QString>
#include <QtGlobal>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/stop_signals.h"
#include "command_line/command_line.h"
#include "frame_tool/frame_commands.h"
#include "frame_tool/lcdd.h"
#include "frame_tool/play.h"
#include "text_server/listen_address.h"

namespace {

using namespace dotwall;
using command_line::Option;
using command_line::ParsedLine;

// Qt's warnings would bury the one line a failure prints.
void keepOnlyQtsFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg) {
        std::fprintf(stderr, "DotwallFrame: %s\n", qPrintable(message));
    }
}

constexpr long kMostFrames = 1'000'000;
constexpr long kMostSeconds = 86'400;

Option output(const char* defaultName) {
    return {{"o", "output"},
            "FILE",
            std::string("The file to write; ") + defaultName + " when not given."};
}

const command_line::Argument kPicture{"PICTURE", "The picture to pack, in any format Qt reads."};

const Option kPanel{{"panel"},
                    "PROFILE",
                    "The panel: a profile file (JSON) or a built-in's name; dotwall-lpt, "
                    "DotwallLpt's own, when not given."};
const Option kFit{{"fit"},
                  "",
                  "Scales the picture to fill the panel, keeping its proportions, centred on "
                  "white."};
const Option kDither{{"dither"},
                     "",
                     "Turns the picture black and white by error diffusion, as DotwallUsb's Open "
                     "does; for a panel of more grey levels, diffused to its levels."};

PanelProfile panelOf(const ParsedLine& line) {
    return loadPanelProfile(line.value("panel").value_or(std::string(kDotwallLptProfile)));
}

PictureFitting fittingOf(const ParsedLine& line) {
    return {.fit = line.isSet("fit"), .dither = line.isSet("dither")};
}

// The numbers are read before the list is built: one that throws while the list is built makes
// GCC destroy the files already in it after their scope (AddressSanitizer stops the program)
// instead of ending in the usage message.
frame_tool::FilePlaylist playlistOf(const ParsedLine& line) {
    const std::chrono::seconds stillFor(line.number("seconds", 1, kMostSeconds, 5));
    const long rounds = line.number("loop", 0, kMostFrames, 1);
    return {.files = {line.arguments().begin(), line.arguments().end()},
            .stillFor = stillFor,
            .rounds = rounds};
}

std::vector<command_line::Command> commands() {
    auto command = [](const char* name, std::string description,
                      std::vector<command_line::Argument> arguments, std::vector<Option> options) {
        return command_line::CommandLine("DotwallFrame", name, std::move(description),
                                         std::move(arguments), std::move(options));
    };
    return {
        {command("usb",
                 "Writes the frame file DotwallUsb saves after File, Open PICTURE, Convert, Save: "
                 "the picture in black and white (error diffusion), at the top-left of the 640 x "
                 "480 area on the window-background colour, packed as the dual-scan frame; 38402 "
                 "bytes. Like DotwallUsb it keeps the tail of a longer file.",
                 {kPicture}, {output("screen.bin")}),
         "DotwallUsb's 38402-byte frame file",
         [](const ParsedLine& line) {
             frame_tool::writeUsbFrame(line.arguments()[0], line.value("o").value_or("screen.bin"));
         }},
        {command("lpt",
                 "Writes the packed frame of the panel for PICTURE: its lines, width / 4 bytes "
                 "each. For DotwallLpt's panel, what its Convert packs when its 9650 x "
                 "3660-twip picture area shows PICTURE at its top-left on white: 241 lines of "
                 "160 bytes (38560), test mark included; for another, the picture's pixels one "
                 "for one from the top-left, on white; for a panel of more grey levels, a byte a "
                 "pixel holding its level (0 black).",
                 {kPicture}, {output("lpt_frame.bin"), kPanel, kFit, kDither}),
         "a panel's packed frame; DotwallLpt's 38560 bytes",
         [](const ParsedLine& line) {
             frame_tool::writePanelFrame(line.arguments()[0], panelOf(line), fittingOf(line),
                                         line.value("o").value_or("lpt_frame.bin"));
         }},
        {command("stream",
                 "Writes the bytes GO! sends to the port for the frame of PICTURE (as 'lpt' "
                 "packs it): N whole frames (77363 bytes each for DotwallLpt's panel), nothing "
                 "else; for a panel of more grey levels, its cycles of one-bit frames, the last "
                 "cut where N ends.",
                 {kPicture},
                 {{{"frames"}, "N", "How many frames, 1 to 1000000.", true},
                  output("lpt_stream.bin"),
                  kPanel,
                  kFit,
                  kDither}),
         "the port bytes GO! sends, N frames",
         [](const ParsedLine& line) {
             frame_tool::writeStream(line.arguments()[0], panelOf(line), fittingOf(line),
                                     line.number("frames", 1, kMostFrames, 0),
                                     line.value("o").value_or("lpt_stream.bin"));
         }},
        {command("preview",
                 "Draws the picture a panel shows for FRAME: lit pixels white, line by line in the "
                 "order the panel receives them; a panel of more grey levels in its greys.",
                 {{"FRAME",
                   "A dual-scan frame file (38402 bytes) or a single-scan frame (38560 bytes), "
                   "or with --panel that panel's packed frame."}},
                 {{{"o", "output"},
                   "PICTURE",
                   "The picture to write; its format follows the suffix of its name (.png, "
                   ".bmp, .jpg, ...; PNG without one).",
                   true},
                  {{"scale"}, "K", "Draws each pixel as a K x K square, K from 1 to 16."},
                  kPanel}),
         "the picture the panel shows",
         [](const ParsedLine& line) {
             frame_tool::writePreview(
                 line.arguments()[0],
                 line.isSet("panel") ? std::optional(panelOf(line)) : std::nullopt,
                 *line.value("o"), static_cast<int>(line.number("scale", 1, 16, 1)));
         }},
        {command("play",
                 "Streams the frames of the pictures (as 'lpt' packs them) to the panel on the "
                 "port, as DotwallLpt's GO! does, through the same port library and driver start "
                 "and stop, without a window, at the profile's rate. Each picture in turn: a "
                 "still one for --seconds, an animation (GIF, WebP, MNG) with its own delays and "
                 "loop count; a lone still picture stays until stopped. When the pictures end, "
                 "N frames were sent, or at SIGINT or SIGTERM, it finishes the frame, writes 0, "
                 "stops the driver, prints the rate reached and the pictures shown and exits 0. "
                 "When the driver does not start, the port library refuses a write, or a picture "
                 "cannot be read (after those before it were shown), it exits 1.",
                 {{"PICTURE...",
                   "The pictures to show, in any format Qt reads; or - (standard input) or a "
                   "FIFO alone: a stream of PNM pictures (P1 to P6), each shown as soon as it "
                   "is whole, the newest winning.",
                   true, true}},
                 {{{"frames"}, "N", "How many frames, 1 to 1000000; without it, until stopped."},
                  {{"seconds"},
                   "S",
                   "How long a still picture is shown among several, 1 to 86400 seconds; 5 "
                   "when not given."},
                  {{"loop"},
                   "N",
                   "Plays the pictures N times, 1 to 1000000; without N, forever.",
                   false,
                   "0"},
                  {{"hold"}, "", "Keeps the last picture on the panel until stopped."},
                  {{"raw"},
                   "WxH",
                   "The stream holds raw 8-bit grey frames of W x H pixels back to back, not "
                   "PNM pictures."},
                  kPanel,
                  kFit,
                  kDither}),
         "streams pictures to the panel as GO! does",
         [](const ParsedLine& line) {
             const std::vector<std::string>& pictures = line.arguments();
             const bool stream = pictures.size() == 1 && frame_tool::isPictureStream(pictures[0]);
             if (!stream && line.isSet("raw")) {
                 throw command_line::wrongUsage("--raw takes standard input (-) or a FIFO");
             }
             frame_tool::playPictures(
                 stream ? frame_tool::streamPictures(pictures[0], line.value("raw"))
                        : frame_tool::filePictures(playlistOf(line)),
                 {.profile = panelOf(line),
                  .fitting = fittingOf(line),
                  .frames = line.number("frames", 1, kMostFrames, 0),
                  .hold = line.isSet("hold"),
                  .loneStillHolds =
                      pictures.size() == 1 && !line.isSet("seconds") && !line.isSet("loop")});
         }},
        {command("lcdd",
                 "Serves LCDproc's clients as its server LCDd does (protocol 0.3: clients such "
                 "as lcdproc, lcdexec, lcdvc) and streams the screen they show to the panel as "
                 "'play' streams a picture: text in a bitmap font, ink black on white, one bit a "
                 "pixel, drawn 8 times a second and shown from the next frame boundary on. Keys "
                 "and menus are accepted and never used: the panel has no keys. At SIGINT or "
                 "SIGTERM it finishes the frame, writes 0, stops the driver, prints the rate "
                 "reached and exits 0. When it cannot listen (the port in use) or the driver does "
                 "not start, it exits 1. The protocol has no authentication: an address beyond "
                 "this machine is warned about.",
                 {},
                 {{{"listen"},
                   "ADDRESS:PORT",
                   std::string("Where clients connect: an IPv4 address, an IPv6 address in "
                               "brackets ([::1]:13666) or localhost, and a port; ") +
                       text_server::kDefaultListenAddress + " when not given."},
                  {{"cell"},
                   "WxH",
                   "A character's cell in pixels, one of " + frame_tool::offeredCells() +
                       "; the first when not given. The panel shows as many whole cells as fit "
                       "(6x8 on DotwallLpt's panel: 106 x 30 characters)."},
                  kPanel}),
         "serves LCDproc's clients on the panel",
         [](const ParsedLine& line) {
             frame_tool::serveLcd(
                 {.profile = panelOf(line),
                  .listen = line.value("listen").value_or(text_server::kDefaultListenAddress),
                  .cell = line.value("cell").value_or(frame_tool::defaultCell())});
         }},
        {command("profile",
                 "Prints a panel profile as JSON: a built-in's (dotwall-lpt, DotwallLpt's own "
                 "panel), a starting point for one's own, or a profile file's, once it is read "
                 "without fault.",
                 {{"PROFILE", "A built-in's name or a profile file."}}, {}),
         "a panel profile as JSON",
         [](const ParsedLine& line) {
             std::fputs(profileJson(loadPanelProfile(line.arguments()[0])).c_str(), stdout);
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    // No QGuiApplication: Qt's picture readers and writers work without one, and without a
    // platform the application palette is Qt's default, which resolves the
    // window-background colour as DotwallUsb's window does without a desktop theme (on
    // the offscreen platform). Starting the offscreen platform and shutting it down again
    // would cost more than all the packing.
    qInstallMessageHandler(keepOnlyQtsFatalMessages);
    const StopSignals stopSignals("DotwallFrame");
    return command_line::runProgram("DotwallFrame", [&] {
        command_line::runCommand(
            "DotwallFrame",
            "Packs pictures into LCD panel frames exactly as DotwallUsb and DotwallLpt do, and "
            "shows the picture a frame puts on the panel.",
            commands(), {argv + 1, argv + argc});
        return command_line::kDone;
    });
}
