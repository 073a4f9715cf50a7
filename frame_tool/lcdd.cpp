#include "frame_tool/lcdd.h"

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "command_line/command_line.h"
#include "frame_tool/play.h"
#include "text_display/text_canvas.h"
#include "text_server/text_server.h"

namespace dotwall::frame_tool {

namespace {

using text_display::CellSize;

std::string cellText(CellSize cell) {
    return std::to_string(cell.width) + "x" + std::to_string(cell.height);
}

CellSize offeredCell(const std::string& text) {
    for (const CellSize cell : text_display::offeredCellSizes()) {
        if (cellText(cell) == text) {
            return cell;
        }
    }
    throw command_line::wrongUsage("--cell takes one of " + offeredCells() + ", not \"" + text +
                                   "\"");
}

// The strokes' canvases, handed from the server's thread to play's worker, which turns each
// into a picture and packs it.
class StrokePictures : public PictureSource {
  public:
    struct Shared {
        std::mutex mutex;
        std::condition_variable stroked;
        std::vector<std::uint8_t> ink;
        long strokes = 0;
        std::exception_ptr failure;  // the server's, which ends the pictures
    };

    StrokePictures(std::shared_ptr<Shared> shared, int width, int height)
        : shared_(std::move(shared)), width_(width), height_(height) {}

    // Waits for the next stroke.
    std::optional<TimedPicture> next() override {
        std::unique_lock lock(shared_->mutex);
        shared_->stroked.wait(lock, [&] { return shared_->strokes > taken_ || shared_->failure; });
        if (shared_->failure) {
            std::rethrow_exception(shared_->failure);
        }
        taken_ = shared_->strokes;
        return TimedPicture{.picture = inkPicture(shared_->ink, width_, height_)};
    }

  private:
    std::shared_ptr<Shared> shared_;
    int width_;
    int height_;
    long taken_ = 0;
};

}  // namespace

std::string offeredCells() {
    std::string text;
    for (const CellSize cell : text_display::offeredCellSizes()) {
        text += (text.empty() ? "" : ", ") + cellText(cell);
    }
    return text;
}

QImage inkPicture(const std::vector<std::uint8_t>& ink, int width, int height) {
    QImage picture(width, height, QImage::Format_Grayscale8);
    const std::uint8_t* pixel = ink.data();
    for (int y = 0; y < height; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            line[x] = *pixel++ != 0 ? 0 : 255;
        }
    }
    return picture;
}

std::string defaultCell() {
    return cellText(text_display::offeredCellSizes().front());
}

void serveLcd(const LcddSettings& settings) {
    PanelProfile profile = settings.profile;
    // Text is drawn on the panel's own pixels, one for one, never resampled.
    profile.sampling = PictureSampling::PixelForPixel;
    const CellSize cell = offeredCell(settings.cell);
    const text_server::ListenAddress address = text_server::parseListenAddress(settings.listen);
    if (!address.loopback()) {
        std::fprintf(stderr,
                     "DotwallFrame: warning: %s is reached from beyond this machine, and "
                     "LCDproc's protocol has no authentication: anyone who reaches it can draw "
                     "on the panel.\n",
                     address.text.c_str());
    }
    auto shared = std::make_shared<StrokePictures::Shared>();
    const text_server::TextServer server(
        {.address = address,
         .panelWidth = profile.width,
         .panelHeight = profile.lines,
         .cell = cell},
        [shared](const text_display::TextCanvas& canvas) {
            const std::lock_guard lock(shared->mutex);
            shared->ink = canvas.ink();
            ++shared->strokes;
            shared->stroked.notify_all();
        },
        [shared](std::exception_ptr failure) {
            const std::lock_guard lock(shared->mutex);
            shared->failure = failure;
            shared->stroked.notify_all();
        });
    playPictures(std::make_unique<StrokePictures>(shared, profile.width, profile.lines),
                 {.profile = profile, .fitting = {}});
}

}  // namespace dotwall::frame_tool
