#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <exception>
#include <filesystem>
#include <string>

#include "frames/panel_frame.h"
#include "frames/panel_profile.h"
#include "port_stream/port_binding.h"
#include "port_stream/refresh_thread.h"
#include "widgets/error_guard.h"
#include "widgets/picture_widget.h"
#include "widgets/qt_message_sink.h"

namespace dotwall::lpt_tool {

// What the window reaches outside itself; tests put their own in place.
struct LptWindowServices {
    MessageSink* messages = nullptr;  // null: real message boxes on the window
    std::string winIoFileName = port_stream::kWinIoFileName;
};

// How starting the port driver went.
enum class DriverStart {
    Started,         // the window may be shown
    DriverFailed,    // InitializeWinIo answered 0: reported, and the driver stopped again
    LibraryMissing,  // the library or one of its functions is missing: reported
};

// The DotwallLpt window: the picture, Convert, and GO! with its Stop. It owns the packed
// frame and the port driver's start and stop, and wires each event to the logic through
// the error guard. GO! streams on a thread of its own; Convert hands it the new frame.
class Form1 final : public QWidget {
    Q_OBJECT

  public:
    explicit Form1(LptWindowServices services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // Starts the port driver. Run it before showing the window.
    DriverStart startDriver();

    // Shows a picture file in black and white, as DotwallUsb's Open does; a file that cannot
    // be loaded is reported and changes nothing.
    void openPicture(const std::filesystem::path& path);
    // Ends a stream at once, its frame cut short; the port is still left low.
    void stopStreamAtOnce() { refresh_.stopAtOnce(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void showStreaming(bool streaming);
    void streamEnded(std::exception_ptr failure);
    void showFrameRate();

    void stopDriver();
    void convert();
    void startStream();
    void stopStream();
    void showGridUnder(float x, float y);

    QtMessageSink windowMessages_;
    LptWindowServices services_;
    MessageSink& messages_;
    ErrorGuard guard_;
    const PanelProfile profile_ = dotwallLptProfile();
    PanelFrame frame_ = PanelFrame::dark(profile_.size());  // Convert's, dark before the first
    port_stream::PortBinding port_;
    port_stream::RefreshThread refresh_;
    QTimer frameRateTimer_;
    long framesAtLastTick_ = 0;
    std::chrono::steady_clock::time_point lastTick_;
    bool closeWhenStreamEnds_ = false;
    bool priorityNoted_ = false;
    bool driverStopped_ = false;

    QPushButton* goButton_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    PictureWidget* pictureArea_ = nullptr;
    QPlainTextEdit* dumpText_ = nullptr;
    QLineEdit* columnText_ = nullptr;
    QLineEdit* lineText_ = nullptr;
    QLineEdit* colourText_ = nullptr;
};

}  // namespace dotwall::lpt_tool
