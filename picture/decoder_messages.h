#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>

namespace dotwall {

// Takes what Qt's picture decoders say while it lives, instead of letting it through: their
// warnings on this thread, given through Qt's message handler, and what a decoder library
// prints itself on standard error (Qt leaves libpng's errors to libpng, which writes "libpng
// error: ..." there). Qt's other messages go on to the handler before it, which may print
// them on standard error, where they are taken too. The windows and the command line load
// pictures through this one ear, so both give the same reason for a damaged picture. Each
// message is kept without the name of the routine or library put before it. One lives at a
// time.
class DecoderMessages {
  public:
    DecoderMessages();
    ~DecoderMessages();
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // The decoders' warnings, joined by "; " on one line. A decoder may meet damaged data,
    // warn, and still hand over a picture, with filler where the data was missing: libjpeg
    // does so with a JPEG cut short.
    QString warnings() const;
    // The warnings and what was printed, joined by "; "; empty when nothing was said.
    QString everything() const;

  private:
    static void take(QtMsgType type, const QMessageLogContext& context, const QString& message);
    QString printed() const;

    QtMessageHandler previous_;
    QStringList warnings_;
    std::FILE* printedFile_ = nullptr;  // standard error while this lives; null when not taken
    int savedStandardError_ = -1;
};

}  // namespace dotwall
