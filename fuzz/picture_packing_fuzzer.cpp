// Any bytes as a picture file: refused with RuntimeError, or loaded and packed as both
// programs pack it, DotwallUsb's black-and-white picture and DotwallLpt's picture as it is.
#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "base/runtime_error.h"
#include "picture/frame_packing.h"
#include "picture/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    QImage picture;
    try {
        picture = loadPicture(file, "fuzz input");
    } catch (const RuntimeError&) {
        return 0;
    }
    packUsbFrame(blackAndWhite(picture));
    packPanelFrame(dotwallLptProfile(), picture, {});
    return 0;
}
