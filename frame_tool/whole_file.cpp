#include "frame_tool/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "common/file_error.h"
#include "common/replaced_file.h"

namespace dotwall::frame_tool {

namespace {

std::string reasonOf(const QFileDevice& file, int error) {
    return file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                : std::strerror(error);
}

void writeThrough(QFileDevice& file, const std::filesystem::path& target,
                  const std::function<void(QIODevice&)>& writeBytes) {
    try {
        writeBytes(file);
    } catch (const WriteFailed& failed) {
        throwFileError("write", target, reasonOf(file, failed.error));
    }
    if (!file.flush()) {
        throwFileError("write", target, reasonOf(file, errno));
    }
}

// A device or pipe, opened by its name's own bytes, whatever their encoding.
void writeDevice(const std::filesystem::path& target,
                 const std::function<void(QIODevice&)>& writeBytes) {
    const int descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    QFile device;
    if (descriptor < 0) {
        throwFileError("create", target, errno);
    }
    if (!device.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        throwFileError("create", target, device.errorString().toStdString());
    }
    writeThrough(device, target, writeBytes);
}

}  // namespace

void writeWholeFile(const std::filesystem::path& target,
                    const std::function<void(QIODevice&)>& writeBytes) {
    std::error_code ignored;
    const auto status = std::filesystem::status(target, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        writeDevice(target, writeBytes);
        return;
    }
    const QString name = QFile::decodeName(target.c_str());
    if (QFile::encodeName(name) != target.c_str()) {
        throwFileError("write", target, "Qt cannot write a file whose name is not valid UTF-8");
    }
    // QSaveFile follows links and keeps most of the mode, but as root it replaces a
    // read-only file and gives the owner read and write permission.
    if (isReadOnly(target)) {
        throwFileError("write", target, "it is read-only");
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        throwFileError("create", target, file.errorString().toStdString());
    }
    if (!copyModeAndOwner(target, file.handle())) {
        throwFileError("create", target, errno);
    }
    writeThrough(file, target, writeBytes);
    if (const int signal = StopSignals::received()) {
        throw Stopped{signal};
    }
    if (!file.commit()) {
        throwFileError("write", target, reasonOf(file, errno));
    }
}

}  // namespace dotwall::frame_tool
