#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "frame_stream.h"
#include "panel_model.h"
#include "port_tool/form1.h"
#include "recording_message_sink.h"
#include "recording_winio_control.h"
#include "start.h"
#include "window_test.h"

namespace dotwall::port_tool {
namespace {

using dotwall::testing::PanelImage;
using dotwall::testing::PanelModel;
using dotwall::testing::RecordingMessageSink;
using dotwall::testing::RecordingWinIoControl;

// Counts how often a DotwallLpt window is shown, wherever it is created.
class ShowCounter final : public QObject {
  public:
    ShowCounter() { qApp->installEventFilter(this); }
    ~ShowCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        shows += event->type() == QEvent::Show && object->objectName() == "Form1";
        return false;
    }
    int shows = 0;
};

// What the panel shows for the frame in the buffer: 241 lines of 160 low nibbles.
PanelImage panelImageOf(const FrameBuffer& frame) {
    PanelImage image;
    for (int row = 0; row < PanelImage::kRows; ++row) {
        for (int column = 0; column < PanelImage::kColumns; ++column) {
            image.at(column, row) = (frame.at(160 * row + column / 4) >> (3 - column % 4)) & 1;
        }
    }
    return image;
}

TEST(LptStart, ADriverThatDoesNotStartIsReportedOnceAndTheWindowNeverShows) {
    RecordingWinIoControl winIo(0);
    RecordingMessageSink messages;
    ShowCounter shows;
    EXPECT_EQ(runDotwallLpt({&messages, RECORDING_WINIO_PATH}), 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Kelvane32");
    EXPECT_EQ(messages.messages[0].text, "Whoops ! There is a problem with InitializeWinIo.");
    EXPECT_EQ(winIo.initializeCalls(), 1u);
    EXPECT_EQ(winIo.shutdownCalls(), 1u) << "unloading stops the driver even though it failed";
    EXPECT_EQ(shows.shows, 0);
}

TEST(LptStart, AnyNonZeroAnswerStartsTheWindowAndClosingItStopsTheDriverOnce) {
    RecordingWinIoControl winIo(7);
    RecordingMessageSink messages;
    ShowCounter shows;
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "Form1" && window->isVisible()) {
                window->close();
            }
        }
    });
    EXPECT_EQ(runDotwallLpt({&messages, RECORDING_WINIO_PATH}), 0);
    EXPECT_EQ(shows.shows, 1);
    EXPECT_EQ(winIo.shutdownCalls(), 1u);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(LptStart, AMissingLibraryIsReportedAndTheProgramEndsWithAFailure) {
    RecordingMessageSink messages;
    ShowCounter shows;
    EXPECT_EQ(runDotwallLpt({&messages, "libNoSuchWinIo.so"}), 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("libNoSuchWinIo.so"), std::string::npos);
    EXPECT_NE(messages.messages[0].text.find("InitializeWinIo"), std::string::npos);
    EXPECT_EQ(shows.shows, 0);
}

class LptWindow : public dotwall::testing::WindowTest<Form1> {
  protected:
    void SetUp() override { open(RECORDING_WINIO_PATH); }

    void open(const std::string& library) {
        auto loaded = std::make_unique<Form1>(LptWindowServices{&messages, library});
        ASSERT_EQ(loaded->Form_Load(), LoadOutcome::Started);
        show(std::move(loaded));
    }

    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    QString text(const char* box) { return control<QLineEdit>(box)->text(); }

    // Runs `action` between two frames once the port has had `writes` bytes.
    void afterWrites(std::uint32_t writes, std::function<void()> action) {
        auto* poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [=, this] {
            if (winIo.portWrites() >= writes) {
                poll->stop();
                action();
            }
        });
        poll->start(0);
    }

    RecordingWinIoControl winIo{1};
    RecordingMessageSink messages;
};

TEST_F(LptWindow, StopEndsTheStreamAfterWholeFramesAndLeavesThePortLow) {
    click("Command1");
    bool busyLooked = false;
    afterWrites(2 * kWritesPerFrame, [&] {
        busyLooked = !button("Command1")->isEnabled() && !button("paleisk")->isEnabled() &&
                     button("Command2")->isEnabled();
        click("Command2");
    });
    click("paleisk");

    const std::vector<std::uint8_t> bytes = winIo.bytesWrittenTo888();
    ASSERT_EQ(bytes.size(), 2u * kWritesPerFrame + 1) << "two whole frames, then one more byte";
    EXPECT_EQ(bytes.back(), 0);
    PanelModel panel;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        panel.write(bytes[i]);
    }
    EXPECT_TRUE(panel.errors().empty()) << panel.errors().front();
    ASSERT_EQ(panel.frames().size(), 2u);
    EXPECT_EQ(panel.frames()[0], panelImageOf(window->frameBuffer()));
    EXPECT_EQ(panel.frames()[1], panelImageOf(window->frameBuffer()));

    EXPECT_TRUE(busyLooked) << "Convert and GO! are off and Stop on while streaming";
    EXPECT_TRUE(button("Command1")->isEnabled());
    EXPECT_TRUE(button("paleisk")->isEnabled());
    EXPECT_FALSE(button("Command2")->isEnabled());
    EXPECT_EQ(window->port().lastByte(), 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LptWindow, ClosingDuringTheStreamFinishesTheFrameThenStopsTheDriverOnce) {
    afterWrites(1, [&] { window->close(); });
    click("paleisk");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(winIo.portWrites(), kWritesPerFrame + 1u);
    EXPECT_EQ(winIo.shutdownCalls(), 1u);
    window.reset();
    EXPECT_EQ(winIo.shutdownCalls(), 1u);
}

TEST_F(LptWindow, ClosingWhileIdleStopsTheDriverOnce) {
    EXPECT_EQ(winIo.shutdownCalls(), 0u);
    window->close();
    EXPECT_EQ(winIo.shutdownCalls(), 1u);
    window.reset();
    EXPECT_EQ(winIo.shutdownCalls(), 1u);
}

TEST_F(LptWindow, APortWriteThatFailsEndsTheStreamWithItsErrorAndTheWindowGoesOn) {
    window.reset();
    open(PORTLESS_WINIO_PATH);
    click("paleisk");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_NE(messages.messages[0].text.find("SetPortVal"), std::string::npos);
    EXPECT_TRUE(button("paleisk")->isEnabled());
    EXPECT_FALSE(button("Command2")->isEnabled());
    EXPECT_FALSE(window->isStreaming());
}

TEST_F(LptWindow, TheMouseProbeShowsTheGridColumnLineAndColour) {
    auto* picture = control<PictureWidget>("Picture1");
    EXPECT_EQ(picture->areaWidth(), 9650.0f);
    EXPECT_EQ(picture->areaHeight(), 3660.0f);
    QTest::mouseMove(picture, QPoint(322, 122));  // 4830 and 1830 twips
    EXPECT_EQ(text("Text2"), "320");
    EXPECT_EQ(text("Text3"), "120");
    // (0, 0) of the picture, given in the window's coordinates: QTest reads a null point
    // as "the middle of the widget".
    QTest::mouseMove(window.get(), picture->mapTo(window.get(), QPoint(0, 0)));
    EXPECT_EQ(text("Text2"), "0");
    EXPECT_EQ(text("Text3"), "0");
    EXPECT_EQ(text("Text4"), "0") << "the default picture's border is black";
    QTest::mouseMove(picture, QPoint(300, 200));
    EXPECT_EQ(text("Text4"), "16777215") << "and its paper white";
}

TEST_F(LptWindow, ConvertAppendsTheDumpToText1) {
    click("Command1");
    const QString dump = control<QPlainTextEdit>("Text1")->toPlainText();
    ASSERT_TRUE(dump.startsWith("Text1  ")) << dump.left(20).toStdString();
    EXPECT_EQ(dump.mid(5).split(' ', Qt::SkipEmptyParts).size(), 201);
    EXPECT_EQ(window->frameBuffer().at(20), 5) << "the test mark follows the dump";
}

TEST_F(LptWindow, HasItsCaptionSizeControlsAndTabOrder) {
    EXPECT_EQ(window->windowTitle(), "Dotwall");
    EXPECT_EQ(window->size(), QSize(673, 418));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(control<QWidget>("Picture1")->geometry(), QRect(8, 8, 643, 244));
    EXPECT_EQ(button("paleisk")->geometry(), QRect(16, 368, 97, 33));
    EXPECT_EQ(button("paleisk")->text(), "GO!");
    EXPECT_EQ(button("Command1")->geometry(), QRect(16, 328, 65, 25));
    EXPECT_EQ(button("Command2")->text(), "Stop");
    EXPECT_EQ(control<QWidget>("Text1")->geometry(), QRect(152, 272, 505, 137));
    EXPECT_EQ(text("Text2"), "Text2");

    button("paleisk")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    // Stop is off while idle, so Tab passes it by.
    EXPECT_EQ(visited, QStringList({"paleisk", "Command1", "Picture1", "Text1", "Text2", "Text3",
                                    "Text4", "paleisk"}));
}

}  // namespace
}  // namespace dotwall::port_tool
