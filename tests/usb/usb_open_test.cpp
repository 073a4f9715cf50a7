#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <fstream>

#include "dual_scan_packer.h"
#include "picture_widget.h"
#include "qt_colour.h"
#include "usb_window_fixture.h"

namespace dotwall::usb_tool {
namespace {

// The CRC-32 that guards every chunk of a PNG file.
std::uint32_t pngChunkCrc(const unsigned char* bytes, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void putBigEndian(unsigned char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
    }
}

// Counts paint events of a widget.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

class UsbOpen : public dotwall::testing::UsbWindowTest {
  protected:
    PictureWidget* picture() { return control<PictureWidget>("Picture1"); }
    QString fileNameBox() { return control<QPlainTextEdit>("Text1")->toPlainText(); }
    QString text(const char* box) { return control<QLineEdit>(box)->text(); }

    void openWithCtrlO(const std::filesystem::path& answer) {
        chooser.answer = answer.string();
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    }

    std::filesystem::path savePicture(const QImage& image, const char* name) {
        const auto path = folder / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path;
    }

    // A real PNG whose header then claims another size, with its checksum made good.
    std::filesystem::path savePictureClaimingSize(std::uint32_t width, std::uint32_t height,
                                                  const char* name) {
        const auto path = savePicture(QImage(8, 8, QImage::Format_RGB32), name);
        std::vector<unsigned char> bytes = dotwall::testing::readBytes(path);
        unsigned char* header = bytes.data() + 12;  // "IHDR" and its 13 bytes of data
        putBigEndian(header + 4, width);
        putBigEndian(header + 8, height);
        putBigEndian(header + 17, pngChunkCrc(header, 17));
        dotwall::testing::writeBytes(path, bytes);
        return path;
    }

    ColourValue background() { return resolveColour(kWindowBackground, picture()->palette()); }

    // Moves the mouse over Picture1 to a point in its own pixels.
    void moveOverPicture(QPoint point) { QTest::mouseMove(picture(), point); }
};

TEST_F(UsbOpen, TheDialogIsAskedForWithItsTitleAndBitmapsFirst) {
    openWithCtrlO("");
    ASSERT_EQ(chooser.times_asked, 1);
    EXPECT_EQ(chooser.asked_title, "Open");
    ASSERT_EQ(chooser.asked_filters.size(), 2u);
    EXPECT_EQ(chooser.asked_filters[0].label, "Bitmap (*.bmp)");
    EXPECT_EQ(chooser.asked_filters[0].patterns, std::vector<std::string>{"*.bmp"});
    EXPECT_EQ(chooser.asked_filters[1].label, "All Files (*.*)");
    EXPECT_EQ(chooser.asked_filters[1].patterns, std::vector<std::string>{"*"});
}

TEST_F(UsbOpen, AnEmptyNameChangesNothingAndForcesNoRepaint) {
    const ColourValue before = picture()->pointColour(5, 5);
    const QString nameBefore = fileNameBox();
    PaintCounter paints(picture());
    openWithCtrlO("");
    EXPECT_EQ(paints.paints, 0);
    EXPECT_EQ(fileNameBox(), nameBefore);
    EXPECT_EQ(picture()->pointColour(5, 5), before);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(UsbOpen, ASmallerBitmapSitsTopLeftAndItsSurroundingsPackByTheBackground) {
    QImage small(100, 50, QImage::Format_RGB32);
    small.fill(Qt::black);
    const auto path = savePicture(small, "small.bmp");
    PaintCounter paints(picture());

    openWithCtrlO(path);

    EXPECT_EQ(fileNameBox().toStdString(), path.string());
    EXPECT_GT(paints.paints, 0) << "the window is repainted at once";
    EXPECT_EQ(picture()->pointColour(99, 49), kBlack);
    EXPECT_EQ(picture()->pointColour(100, 0), background());
    EXPECT_EQ(picture()->pointColour(0, 50), background());

    click("Command1");
    const bool backgroundLit = background() > kDualScanThreshold;
    const FrameBuffer& frame = window->frameBuffer();
    EXPECT_EQ(frame.at(0), backgroundLit ? 0xF0 : 0) << "rows 1 and 241 at x 0..3";
    EXPECT_EQ(frame.at(25), backgroundLit ? 0xFF : 0) << "x 100..103, beside the picture";
}

TEST_F(UsbOpen, AColourPictureIsShownInBlackAndWhiteByErrorDiffusion) {
    QImage colours(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            colours.setPixel(x, y, x < 100 ? qRgb(128, 128, 128) : qRgb(255, 0, 0));
        }
    }
    openWithCtrlO(savePicture(colours, "colours.png"));

    int white = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const ColourValue colour = picture()->pointColour(x, y);
            ASSERT_TRUE(colour == kBlack || colour == kWhite) << x << "," << y << ": " << colour;
            white += x < 100 && colour == kWhite;
        }
    }
    // A mid grey dithers to about half white; a plain threshold would give all or nothing.
    EXPECT_GT(white, 4000);
    EXPECT_LT(white, 6000);
}

TEST_F(UsbOpen, APureBlackAndWhitePictureStaysExactlyAsItWas) {
    QImage pattern(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            pattern.setPixel(x, y, (x * 3 + y * y) % 5 < 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    openWithCtrlO(savePicture(pattern, "pattern.png"));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(picture()->pointColour(x, y), colourFromQRgb(pattern.pixel(x, y)))
                << x << "," << y;
        }
    }
}

TEST_F(UsbOpen, AFileThatIsNoPictureIsReportedAndTheShownPictureStays) {
    const auto notAPicture = folder / "notes.bmp";
    std::ofstream(notAPicture) << "this is no bitmap";
    const auto huge = savePictureClaimingSize(30000, 30000, "huge.png");
    const ColourValue before = picture()->pointColour(5, 5);
    const QString nameBefore = fileNameBox();

    for (const auto& path : {notAPicture, folder / "missing.bmp", huge}) {
        messages.messages.clear();
        openWithCtrlO(path);
        ASSERT_EQ(messages.messages.size(), 1u) << path;
        EXPECT_EQ(messages.messages[0].title, "Dotwall");
        EXPECT_NE(messages.messages[0].text.find(path.string()), std::string::npos)
            << messages.messages[0].text;
        EXPECT_EQ(fileNameBox(), nameBefore) << "the name box keeps the picture that is shown";
        EXPECT_EQ(picture()->pointColour(5, 5), before);
    }
    EXPECT_NE(messages.messages.at(0).text.find("30000 x 30000"), std::string::npos)
        << messages.messages[0].text;
}

TEST_F(UsbOpen, TheMouseProbeShowsPositionAndColourUnderTheMouse) {
    const QImage shown = picture()->surface().shownImage();
    QPoint black(-1, -1);
    QPoint white(-1, -1);
    for (int y = 20; y < 460 && (black.x() < 0 || white.x() < 0); ++y) {
        for (int x = 20; x < 620; ++x) {
            (colourFromQRgb(shown.pixel(x, y)) == kBlack ? black : white) = QPoint(x, y);
        }
    }
    moveOverPicture(black);
    EXPECT_EQ(text("Text2"), QString::number(black.x()));
    EXPECT_EQ(text("Text3"), QString::number(black.y()));
    EXPECT_EQ(text("Text4"), "0");
    moveOverPicture(white);
    EXPECT_EQ(text("Text2"), QString::number(white.x()));
    EXPECT_EQ(text("Text4"), "16777215");
}

TEST_F(UsbOpen, DraggingBeyondTheTopLeftShowsNegativePositionsAndMinusOne) {
    QTest::mousePress(picture(), Qt::LeftButton, {}, QPoint(10, 10));
    moveOverPicture(QPoint(-7, -3));
    EXPECT_EQ(text("Text2"), "-7");
    EXPECT_EQ(text("Text3"), "-3");
    EXPECT_EQ(text("Text4"), "-1");
    QTest::mouseRelease(picture(), Qt::LeftButton, {}, QPoint(-7, -3));
}

TEST_F(UsbOpen, TheFileMenuOpensAndExitClosesTheWindow) {
    auto* bar = window->menuBar();
    auto* file = bar->actions().value(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(), "File");
    auto* menu = file->menu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Open");
    EXPECT_EQ(menu->actions()[0]->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(menu->actions()[1]->text(), "Exit");

    auto clickMenuItem = [&](int item) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions()[item]).center());
    };
    clickMenuItem(0);
    EXPECT_EQ(chooser.times_asked, 1);
    clickMenuItem(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
}

TEST_F(UsbOpen, TabVisitsTheControlsInTheirOrder) {
    control<QWidget>("Command1")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    const QStringList expected{"Command1", "Picture1", "Text1",    "Text2", "Text3",    "Text4",
                               "Command2", "Command3", "Command4", "Text5", "Command5", "Text6",
                               "Text7",    "Text8",    "Text9",    "Text10"};
    EXPECT_EQ(visited, expected);
}

}  // namespace
}  // namespace dotwall::usb_tool
