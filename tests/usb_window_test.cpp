// DotwallUsb driven as a user drives it: File, Open, Convert, Save, USB and the I2C buttons,
// the mouse over the picture, and every failure reported with the window's state kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QMenuBar>
#include <cstdio>
#include <sstream>

#include "expected_frames.h"
#include "test_files.h"
#include "usb_tool/form1.h"
#include "usb_tool/shape_widget.h"
#include "window_test.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;

// Records the lamp's colour each time it is painted.
struct LampPaints final : QObject {
    explicit LampPaints(usb_tool::ShapeWidget* lamp) : lamp(lamp) {
        lamp->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            colours.push_back(lamp->backColour());
        }
        return false;
    }
    usb_tool::ShapeWidget* lamp;
    std::vector<ColourValue> colours;
};

class UsbWindow : public WindowTest<usb_tool::Form1> {
  protected:
    void SetUp() override {
        show(std::make_unique<usb_tool::Form1>(usb_tool::UsbWindowServices{
            .messages = &messages, .fileChooser = &chooser, .frameFilePath = screenBin}));
    }

    void openWithCtrlO(const std::filesystem::path& path) {
        chooser.answer = path.string();
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    }

    // The window-background colour and the window colour of Picture1's palette.
    void setBackgrounds(QColor base, QColor windowColour) {
        QPalette palette = window->palette();
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Window, windowColour);
        window->setPalette(palette);
    }

    void moveMouseTo(QPoint point) {
        QTest::mouseMove(window.get(), control("Picture1")->mapTo(window.get(), point));
    }

    std::string lastMessage() {
        return messages.messages.empty() ? "" : messages.messages.back().text;
    }

    TemporaryFolder folder;
    std::filesystem::path screenBin = folder / "screen.bin";
    AnsweringFileChooser chooser;
};

TEST_F(UsbWindow, OpenConvertAndSaveWriteThePictureAsTheDualScanFrameOnTheBackground) {
    const QImage picture = noisePicture(600, 450, kBlackAndWhite);
    const auto path = savePicture(picture, folder / "noise.png");
    writeBytes(screenBin, Bytes(50000, 0xAB));
    auto expectedFile = [&](bool backgroundLit) {
        Bytes file = expectedUsbFrameFile([&](int x, int y) {
            return x < 600 && y < 450 ? picture.pixel(x, y) == qRgb(255, 255, 255) : backgroundLit;
        });
        file.resize(50000, 0xAB);  // the longer file keeps its tail
        return file;
    };

    // Colour value 16777001 (red 41, green and blue full) is just lit, 16777000 just dark.
    setBackgrounds(QColor(41, 255, 255), QColor(40, 255, 255));
    openWithCtrlO(path);
    EXPECT_EQ(text("Text1"), path.string());
    LampPaints lamp(control<usb_tool::ShapeWidget>("Shape1"));
    click("Command1");
    ASSERT_FALSE(lamp.colours.empty()) << "the lamp is repainted at once";
    EXPECT_EQ(lamp.colours.front(), kPureRed);
    EXPECT_EQ(lamp.lamp->backColour(), kWindowBackground);
    click("Command3");
    EXPECT_EQ(readBytes(screenBin), expectedFile(true));

    setBackgrounds(QColor(40, 255, 255), QColor(41, 255, 255));
    click("Command1");
    click("Command3");
    EXPECT_EQ(readBytes(screenBin), expectedFile(false));
    EXPECT_TRUE(messages.messages.empty()) << lastMessage();

    // DotwallFrame gives the window's bytes (its background is the default palette's white).
    const ProgramRun run =
        runProgram(DOTWALL_FRAME_PATH, {"usb", path.string(), "-o", "frame.bin"}, folder.path());
    ASSERT_EQ(run.status, 0) << run.err;
    Bytes fromTool = readBytes(folder / "frame.bin");
    fromTool.resize(50000, 0xAB);
    EXPECT_EQ(fromTool, expectedFile(true));
}

TEST_F(UsbWindow, TheMouseProbeShowsThePositionAndTheColourShown) {
    const QImage picture = noisePicture(100, 100, kBlackAndWhite);
    openWithCtrlO(savePicture(picture, folder / "noise.bmp"));
    setBackgrounds(QColor(41, 255, 255), QColor(0, 0, 0));
    for (const QPoint point : {QPoint(3, 5), QPoint(70, 2), QPoint(99, 99)}) {
        moveMouseTo(point);
        EXPECT_EQ(text("Text2"), std::to_string(point.x()));
        EXPECT_EQ(text("Text3"), std::to_string(point.y()));
        EXPECT_EQ(text("Text4"), picture.pixel(point) == qRgb(0, 0, 0) ? "0" : "16777215");
    }
    moveMouseTo(QPoint(639, 479));
    EXPECT_EQ(text("Text4"), "16777001") << "the window background, red in the low byte";

    QTest::mousePress(control("Picture1"), Qt::LeftButton, {}, QPoint(10, 10));
    moveMouseTo(QPoint(-7, -3));
    EXPECT_EQ(text("Text2") + " " + text("Text3") + " " + text("Text4"), "-7 -3 -1");
    QTest::mouseRelease(control("Picture1"), Qt::LeftButton, {}, QPoint(-7, -3));
}

TEST_F(UsbWindow, AColourPictureIsDitheredToBlackAndWhite) {
    openWithCtrlO(savePicture(noisePicture(640, 480, {qRgb(128, 128, 128)}), folder / "grey.png"));
    click("Command1");
    click("Command3");
    const Bytes file = readBytes(screenBin);
    int lit = 0;
    for (int i = 0; i < 38400; ++i) {
        lit += std::popcount(file[i]);
    }
    // Error diffusion turns mid grey into about half white; a threshold gives all or nothing.
    EXPECT_GT(lit, 640 * 480 * 4 / 10);
    EXPECT_LT(lit, 640 * 480 * 6 / 10);
}

TEST_F(UsbWindow, TheBoardLibraryGetsTheFrameAndTheBoxesInItsOperandOrder) {
    openWithCtrlO(savePicture(noisePicture(640, 8, kBlackAndWhite), folder / "n.png"));
    click("Command1");
    click("Command3");
    const Bytes frame = readBytes(screenBin);
    const StandardErrorLines board;

    click("Command2");
    type("Text5", "1");
    type("Text7", "&H20");
    type("Text8", "3.5");
    type("Text9", " 255 ");
    click("Command4");
    EXPECT_EQ(text("Text10"), "0");
    type("Text6", "&O17");
    click("Command5");

    std::ostringstream expected;
    for (int i = 1; i <= 100; i += 4) {
        expected << "DoLCDOut(" << int{frame[i]} << ", " << int{frame[i + 1]} << ", "
                 << int{frame[i + 2]} << ", " << int{frame[i + 3]} << ")\n";
    }
    expected << "DoI2CRead(1, 32, 4, 255)\nDoI2CWrite(15)\n";
    EXPECT_EQ(board.lines("Do"), expected.str());
    EXPECT_EQ(text("Text5") + text("Text9"), "1 255 ") << "the boxes keep their texts";
}

TEST_F(UsbWindow, ABoxThatHoldsNoByteIsReportedAndNothingIsSent) {
    const StandardErrorLines board;
    // The I2C read converts its boxes last first: Text9, Text8, Text7, Text5.
    for (const char* box : {"Text5", "Text7", "Text8", "Text9"}) {
        type(box, QString("bad ") + box);
    }
    for (const char* box : {"Text9", "Text8", "Text7", "Text5"}) {
        click("Command4");
        EXPECT_EQ(lastMessage(),
                  std::string("Type mismatch: The text \"bad ") + box + "\" is not a number.");
        type(box, "0");
    }
    type("Text6", "256");
    click("Command5");
    EXPECT_EQ(lastMessage(), "Overflow: The text \"256\" holds a number outside 0 to 255.");
    EXPECT_EQ(messages.messages.size(), 5u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_EQ(board.lines("Do"), "");
    EXPECT_EQ(text("Text10"), "Text10");
}

TEST_F(UsbWindow, OpenAndSaveFailuresAreReportedAndTheWindowKeepsItsPictureAndFrame) {
    openWithCtrlO("");
    EXPECT_EQ(chooser.askedTitle, "Open");
    EXPECT_EQ(text("Text1"), "buferis\n");

    const auto notAPicture = folder / "notes.png";
    writeBytes(notAPicture, Bytes(100, 'x'));
    click("Command1");
    click("Command3");
    const Bytes converted = readBytes(screenBin);
    // The window gives the reason DotwallFrame gives.
    openWithCtrlO(notAPicture);
    EXPECT_EQ(lastMessage(), "Invalid picture: The picture \"" + notAPicture.string() +
                                 "\" cannot be loaded: it is no picture Qt reads.");
    openWithCtrlO(folder / "missing.png");
    EXPECT_THAT(lastMessage(),
                HasSubstr("missing.png\" cannot be loaded: No such file or directory"));
    EXPECT_EQ(text("Text1"), "buferis\n");

    std::filesystem::remove(screenBin);
    std::filesystem::create_directory(screenBin);
    click("Command3");
    EXPECT_THAT(lastMessage(), HasSubstr("screen.bin\": Is a directory"));
    std::filesystem::remove(screenBin);
    click("Command1");
    click("Command3");
    EXPECT_EQ(readBytes(screenBin), converted) << "the picture and frame were kept";
    EXPECT_EQ(messages.messages.size(), 3u);
}

TEST_F(UsbWindow, TheFileMenuOpensAPictureAndExitClosesTheWindow) {
    QMenuBar* bar = window->menuBar();
    QAction* file = bar->actions().value(0);
    ASSERT_EQ(file->text(), "File");
    QMenu* menu = file->menu();
    auto choose = [&](int item) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions()[item]).center());
    };
    EXPECT_EQ(menu->actions()[0]->text() + menu->actions()[1]->text(), "OpenExit");
    choose(0);
    EXPECT_EQ(chooser.timesAsked, 1);
    choose(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
}

}  // namespace
}  // namespace dotwall::testing
