#include "panel_link/panel_link_reader.h"

#include <algorithm>
#include <cstring>

#include "base/runtime_error.h"

namespace dotwall::panel_link {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// A few looks: a frame takes the publisher microseconds to write, and it writes one at most
// every few hundred.
constexpr int kLooksPerFrame = 4;

[[noreturn]] void refuse(const std::string& name, const std::string& what) {
    throw RuntimeError(ErrorKind::ForeignObject, "The shared memory object \"" + name + "\" " +
                                                     what +
                                                     ": it is stale or foreign, and is "
                                                     "not read.");
}

}  // namespace

// Checks what the object says it is before anything else in it is read, and takes the
// panel's size and name from it.
void LinkReader::takePanel(const SharedMemory& opened) {
    const auto& link = *static_cast<const LinkHeader*>(opened.address());
    const std::uint64_t magic = link.magic.load(std::memory_order_acquire);
    const std::uint32_t version = link.version.load(relaxed);
    if (magic != LinkHeader::kMagic || version != LinkHeader::kVersion) {
        refuse(name_, "is no virtual panel of this version (" +
                          (magic == LinkHeader::kMagic ? "version " + std::to_string(version)
                                                       : "a foreign magic number") +
                          ", but this viewer reads version " +
                          std::to_string(LinkHeader::kVersion) + ")");
    }
    const std::uint32_t width = link.width.load(relaxed);
    const std::uint32_t lines = link.lines.load(relaxed);
    const std::uint32_t levels = link.greyLevels.load(relaxed);
    if (width < 4 || width > PanelProfile::kMostPixels || width % 4 != 0 || lines < 1 ||
        lines > PanelProfile::kMostLines || levels < 2 || levels > PanelFrame::kMostGreyLevels ||
        opened.size() != linkBytes(width, lines, levels)) {
        refuse(name_, "says its panel is " + std::to_string(width) + " x " + std::to_string(lines) +
                          " of " + std::to_string(levels) + " grey levels in " +
                          std::to_string(opened.size()) + " bytes, which no panel is");
    }
    std::array<char, sizeof(std::uint64_t) * LinkHeader::kNameWords> name{};
    for (std::size_t word = 0; word < LinkHeader::kNameWords; ++word) {
        const std::uint64_t bytes = link.name[word].load(relaxed);
        std::memcpy(name.data() + word * sizeof bytes, &bytes, sizeof bytes);
    }
    name.back() = '\0';
    panelName_ = name.data();
    width_ = static_cast<int>(width);
    lines_ = static_cast<int>(lines);
    greyLevels_ = static_cast<int>(levels);
    words_.assign(wordsPerLine(width, levels) * lines, 0);
}

bool LinkReader::follow() {
    if (memory_ && memory_->isNamed(name_)) {
        return true;
    }
    memory_.reset();
    refusal_.clear();
    returnedSequence_ = 0;
    try {
        std::optional<SharedMemory> opened = SharedMemory::openForReading(
            name_, sizeof(LinkHeader),
            linkBytes(PanelProfile::kMostPixels, PanelProfile::kMostLines,
                      PanelFrame::kMostGreyLevels));
        if (opened) {
            takePanel(*opened);
            memory_ = std::move(opened);
        }
    } catch (const RuntimeError& error) {
        refusal_ = error.what();
    }
    return memory_.has_value();
}

Counters LinkReader::counters() const {
    Counters counters;
    const LinkHeader* shared = link();
    if (shared == nullptr) {
        return counters;
    }
    counters.writes = shared->writes.load(relaxed);
    counters.linesPerFrame = shared->linesPerFrame.load(relaxed);
    counters.pixelsPerLine = shared->pixelsPerLine.load(relaxed);
    counters.faults.unusedLineSet = static_cast<long>(shared->unusedLineSet.load(relaxed));
    counters.faults.nibbleChangedOnClock =
        static_cast<long>(shared->nibbleChangedOnClock.load(relaxed));
    counters.faults.linesOfWrongLength =
        static_cast<long>(shared->linesOfWrongLength.load(relaxed));
    counters.faults.framesOfWrongLength =
        static_cast<long>(shared->framesOfWrongLength.load(relaxed));
    counters.faults.acNotTurnedOver = static_cast<long>(shared->acNotTurnedOver.load(relaxed));
    counters.frames = shared->frames.load(relaxed);
    // Numbers that cannot be the publisher's are not taken: no rate above a million frames a
    // second, no time ahead of this clock, which it shares.
    const std::uint64_t milli = shared->milliFramesPerSecond.load(relaxed);
    counters.framesPerSecond = milli <= 1'000'000'000 ? static_cast<double>(milli) / 1000 : 0;
    const std::int64_t lastFrameAt = shared->lastFrameAt.load(relaxed);
    counters.lastFrameAt = lastFrameAt >= 0 && lastFrameAt <= clockNow() ? lastFrameAt : 0;
    return counters;
}

std::optional<Frame> LinkReader::newFrame() {
    const LinkHeader* shared = link();
    if (shared == nullptr) {
        return std::nullopt;
    }
    const std::atomic<std::uint64_t>* pixels = pixelWords(*shared);
    for (int look = 0; look < kLooksPerFrame; ++look) {
        const std::uint64_t before = shared->sequence.load(std::memory_order_acquire);
        if (before == returnedSequence_) {
            return std::nullopt;
        }
        if (before % 2 != 0) {
            continue;
        }
        Frame frame{.picture = PanelPicture(width_, lines_, greyLevels_)};
        frame.number = shared->frames.load(relaxed);
        // A time that cannot be the publisher's (it shares this clock) is taken as now, so
        // that no figure made of it goes wrong.
        const std::int64_t now = clockNow();
        frame.takenAt = shared->lastFrameAt.load(relaxed);
        if (frame.takenAt < 0 || frame.takenAt > now) {
            frame.takenAt = now;
        }
        for (std::size_t word = 0; word < words_.size(); ++word) {
            words_[word] = pixels[word].load(relaxed);
        }
        std::atomic_thread_fence(std::memory_order_acquire);
        if (shared->sequence.load(relaxed) != before) {
            continue;
        }
        returnedSequence_ = before;
        const auto levels = static_cast<std::uint32_t>(greyLevels_);
        const int bits = bitsPerPixel(levels);
        const int pixelsPerWord = 64 / bits;
        const std::uint64_t mask = (1u << bits) - 1;
        const std::size_t lineWords = wordsPerLine(static_cast<std::uint32_t>(width_), levels);
        for (int y = 0; y < frame.picture.height(); ++y) {
            for (int x = 0; x < frame.picture.width(); ++x) {
                const std::uint64_t word =
                    words_[static_cast<std::size_t>(y) * lineWords + x / pixelsPerWord];
                // A level no panel of these levels has is taken as the top one.
                const auto level = (word >> (bits * (x % pixelsPerWord))) & mask;
                frame.picture.setLevel(
                    x, y, static_cast<int>(std::min<std::uint64_t>(level, levels - 1)));
            }
        }
        return frame;
    }
    return std::nullopt;
}

}  // namespace dotwall::panel_link
