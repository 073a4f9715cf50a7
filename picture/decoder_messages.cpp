#include "picture/decoder_messages.h"

#include <unistd.h>

#include <QByteArrayView>
#include <QRegularExpression>

namespace dotwall {

namespace {

thread_local DecoderMessages* taking = nullptr;
QtMessageHandler passOn = nullptr;

// What a decoder said without the name it puts first, which means nothing to the person who
// reads it: libtiff's routine or file name ("foo" for every picture Qt reads), "libpng error".
QString ownWords(const QString& said) {
    static const QRegularExpression source("^(libpng \\w+|\\S+): ");
    return QString(said).remove(source);
}

}  // namespace

DecoderMessages::DecoderMessages() : previous_(qInstallMessageHandler(take)) {
    passOn = previous_;
    taking = this;
    // Without a temporary file nothing printed is taken, and the warnings still are.
    printedFile_ = std::tmpfile();
    if (printedFile_ == nullptr) {
        return;
    }
    std::fflush(stderr);
    savedStandardError_ = dup(STDERR_FILENO);
    if (savedStandardError_ < 0 || dup2(fileno(printedFile_), STDERR_FILENO) < 0) {
        std::fclose(printedFile_);
        printedFile_ = nullptr;
    }
}

DecoderMessages::~DecoderMessages() {
    if (printedFile_ != nullptr) {
        std::fflush(stderr);
        dup2(savedStandardError_, STDERR_FILENO);
        std::fclose(printedFile_);
    }
    if (savedStandardError_ >= 0) {
        close(savedStandardError_);
    }
    taking = nullptr;
    qInstallMessageHandler(previous_);
}

QString DecoderMessages::warnings() const {
    return warnings_.join("; ").simplified();
}

QString DecoderMessages::everything() const {
    QStringList said = warnings_;
    const QString lines = printed();
    if (!lines.isEmpty()) {
        for (const QString& line : lines.split('\n', Qt::SkipEmptyParts)) {
            said.append(ownWords(line));
        }
    }
    return said.join("; ").simplified();
}

QString DecoderMessages::printed() const {
    if (printedFile_ == nullptr) {
        return {};
    }
    std::fflush(stderr);
    QByteArray text;
    std::rewind(printedFile_);
    char chunk[4096];
    for (std::size_t got = 0; (got = std::fread(chunk, 1, sizeof chunk, printedFile_)) > 0;) {
        text.append(chunk, static_cast<qsizetype>(got));
    }
    return QString::fromLocal8Bit(text);
}

void DecoderMessages::take(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    // The decoders' own logging categories are qt.gui.imageio and those below it.
    if (taking != nullptr && (type == QtWarningMsg || type == QtCriticalMsg) &&
        QByteArrayView(context.category).startsWith("qt.gui.imageio")) {
        taking->warnings_.append(ownWords(message));
    } else {
        passOn(type, context, message);
    }
}

}  // namespace dotwall
