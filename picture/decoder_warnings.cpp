#include "picture/decoder_warnings.h"

#include <QByteArrayView>

namespace dotwall {

namespace {

thread_local DecoderWarnings* taking = nullptr;
QtMessageHandler passOn = nullptr;

}  // namespace

DecoderWarnings::DecoderWarnings() : previous_(qInstallMessageHandler(take)) {
    passOn = previous_;
    taking = this;
}

DecoderWarnings::~DecoderWarnings() {
    taking = nullptr;
    qInstallMessageHandler(previous_);
}

QString DecoderWarnings::text() const {
    return warnings_.join("; ").simplified();
}

void DecoderWarnings::take(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    // The decoders' own logging categories are qt.gui.imageio and those below it.
    if (taking != nullptr && (type == QtWarningMsg || type == QtCriticalMsg) &&
        QByteArrayView(context.category).startsWith("qt.gui.imageio")) {
        taking->warnings_.append(message);
    } else {
        passOn(type, context, message);
    }
}

}  // namespace dotwall
