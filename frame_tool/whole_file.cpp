#include "frame_tool/whole_file.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "common/file_error.h"

namespace dotwall::frame_tool {

namespace {

std::string reasonOf(const QFileDevice& file, int error) {
    return file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                : std::strerror(error);
}

template <typename File>
void writeThrough(File& file, const std::filesystem::path& target,
                  const std::function<void(QIODevice&)>& writeBytes) {
    if (!file.open(QIODevice::WriteOnly)) {
        throwFileError("create", target, file.errorString().toStdString());
    }
    try {
        writeBytes(file);
    } catch (const WriteFailed& failed) {
        throwFileError("write", target, reasonOf(file, failed.error));
    }
    if (!file.flush()) {
        throwFileError("write", target, reasonOf(file, errno));
    }
}

}  // namespace

void writeWholeFile(const std::filesystem::path& target,
                    const std::function<void(QIODevice&)>& writeBytes) {
    const QString name = QString::fromStdString(target.string());
    std::error_code ignored;
    const auto status = std::filesystem::status(target, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        QFile device(name);
        writeThrough(device, target, writeBytes);
        return;
    }
    QSaveFile file(name);
    writeThrough(file, target, writeBytes);
    if (!file.commit()) {
        throwFileError("write", target, reasonOf(file, errno));
    }
}

}  // namespace dotwall::frame_tool
