#pragma once

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "lpt_tool/form1.h"
#include "widgets/picture_widget.h"

namespace dotwall::bench {

// DotwallLpt's window on a port library, kept busy as a user would keep it while a stream
// runs: the mouse over the picture, and a 12-megapixel picture loaded into the window and
// converted, again and again.
class BusyWindow {
  public:
    explicit BusyWindow(const char* portLibrary) : window_({nullptr, portLibrary}) {
        QImage picture(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
            }
        }
        const QString large = folder_.filePath("large.png");
        picture.save(large);
        started_ = window_.startDriver() == lpt_tool::DriverStart::Started;
        window_.show();
        QObject::connect(&timer_, &QTimer::timeout, [this, path = QFile::encodeName(large)] {
            auto* area = window_.findChild<PictureWidget*>("Picture1");
            for (int step = 0; step < 20; ++step) {
                QTest::mouseMove(area, QPoint(10 + 30 * step, 10 + 10 * step));
            }
            window_.openPicture(path.toStdString());
            QTest::mouseClick(window_.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
    }

    bool started() const { return started_; }
    void start() { timer_.start(0); }
    void stop() { timer_.stop(); }

  private:
    QTemporaryDir folder_;
    lpt_tool::Form1 window_;
    QTimer timer_;
    bool started_ = false;
};

}  // namespace dotwall::bench
