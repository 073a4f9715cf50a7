#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace dotwall {

// Takes the warnings Qt's picture decoders give on this thread while it lives, instead of
// letting them through; Qt's other messages, and those of other threads, go on as before.
// A decoder may meet damaged data, warn, and still hand over a picture, with filler where the
// data was missing: libjpeg does so with a JPEG cut short. One lives at a time.
class DecoderWarnings {
  public:
    DecoderWarnings();
    ~DecoderWarnings();
    DecoderWarnings(const DecoderWarnings&) = delete;
    DecoderWarnings& operator=(const DecoderWarnings&) = delete;

    // What they said, joined by "; " on one line; empty when they said nothing.
    QString text() const;

  private:
    static void take(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QtMessageHandler previous_;
    QStringList warnings_;
};

}  // namespace dotwall
