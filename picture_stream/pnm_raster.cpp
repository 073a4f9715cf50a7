#include "picture_stream/pnm_raster.h"

#include <algorithm>
#include <array>
#include <string>

#include "picture_stream/stream_messages.h"

namespace dotwall::picture_stream {

namespace {

// A sample of 0..maxval as a level of 0..255, rounded half up.
std::uint8_t greyLevel(unsigned sample, unsigned maxval) {
    return static_cast<std::uint8_t>((2 * sample * 255 + maxval) / (2 * maxval));
}

// RGB as grey by the usual luma weights (0.299 red, 0.587 green, 0.114 blue), the eye's
// sensitivity to each, scaled to 0..255 and rounded once.
std::uint8_t lumaLevel(unsigned red, unsigned green, unsigned blue, unsigned maxval) {
    const std::uint64_t weighted = 299ULL * red + 587ULL * green + 114ULL * blue;
    return static_cast<std::uint8_t>((2 * weighted * 255 + 1000ULL * maxval) / (2000ULL * maxval));
}

class RasterReader {
  public:
    RasterReader(const PicturePlace& place, const PnmHeader& header)
        : place_(place),
          header_(header),
          pixels_(static_cast<long long>(header.width) * header.height) {
        levels_.reserve(static_cast<std::size_t>(pixels_));
    }

    std::vector<std::uint8_t> read() {
        if (header_.ascii()) {
            readAscii();
        } else {
            readBinary();
        }
        return std::move(levels_);
    }

  private:
    unsigned checked(unsigned sample) const {
        if (sample > static_cast<unsigned>(header_.maxval)) {
            place_.fail(" holds a value over its maxval " + std::to_string(header_.maxval));
        }
        return sample;
    }

    // P1, P2, P3: values separated by whitespace and comments; P1's bits need none.
    void readAscii() {
        const unsigned maxval = static_cast<unsigned>(header_.maxval);
        while (static_cast<long long>(levels_.size()) < pixels_) {
            if (header_.bits()) {
                levels_.push_back(asciiBit() ? 0 : 255);
            } else if (header_.channels() == 1) {
                levels_.push_back(greyLevel(asciiValue(), maxval));
            } else {
                const unsigned red = asciiValue();
                const unsigned green = asciiValue();
                levels_.push_back(lumaLevel(red, green, asciiValue(), maxval));
            }
        }
    }

    int nextAsciiByte() {
        if (!skipPnmSpace(place_.input)) {
            throwEndedInside(place_.input.name(), place_.number,
                             static_cast<long long>(levels_.size()), pixels_, "pixels");
        }
        return place_.input.peek();
    }

    bool asciiBit() {
        const int byte = nextAsciiByte();
        if (byte != '0' && byte != '1') {
            place_.fail(" holds " + quoted(byte) + " where a bit 0 or 1 should be");
        }
        place_.input.consume(1);
        return byte == '1';
    }

    unsigned asciiValue() {
        int byte = nextAsciiByte();
        if (byte < '0' || byte > '9') {
            place_.fail(" holds " + quoted(byte) + " where a value should be");
        }
        unsigned value = 0;
        for (; byte >= '0' && byte <= '9'; byte = place_.input.peek()) {
            value = checked(value * 10 + static_cast<unsigned>(byte - '0'));
            place_.input.consume(1);
        }
        return value;
    }

    // P4, P5, P6: the raster in whole units (a byte of bits, a sample, an RGB triple) handed
    // to `convert` one at a time.
    void readBinary() {
        const bool wide = header_.maxval > 255;
        const unsigned maxval = static_cast<unsigned>(header_.maxval);
        if (header_.bits()) {
            int column = 0;
            readUnits(1, header_.rasterBytes(), [&](const std::uint8_t* bytes) {
                for (int bit = 0; bit < 8 && column < header_.width; ++bit, ++column) {
                    levels_.push_back((bytes[0] << bit & 0x80) != 0 ? 0 : 255);
                }
                column = column == header_.width ? 0 : column;
            });
        } else if (header_.channels() == 1 && wide) {
            readUnits(2, pixels_, [&](const std::uint8_t* bytes) {
                levels_.push_back(greyLevel(checked(bytes[0] << 8 | bytes[1]), maxval));
            });
        } else if (header_.channels() == 1 && maxval == 255) {
            // Levels as they came, a buffer at a time: ffmpeg's pgm and most PGM pictures.
            readRuns(1, pixels_, [&](const std::uint8_t* bytes, std::size_t count) {
                levels_.insert(levels_.end(), bytes, bytes + count);
            });
        } else if (header_.channels() == 1) {
            std::array<std::uint8_t, 256> levelOf{};
            for (unsigned sample = 0; sample <= maxval; ++sample) {
                levelOf[sample] = greyLevel(sample, maxval);
            }
            readUnits(1, pixels_, [&](const std::uint8_t* bytes) {
                levels_.push_back(levelOf[checked(bytes[0])]);
            });
        } else if (wide) {
            readUnits(6, pixels_, [&](const std::uint8_t* bytes) {
                levels_.push_back(lumaLevel(checked(bytes[0] << 8 | bytes[1]),
                                            checked(bytes[2] << 8 | bytes[3]),
                                            checked(bytes[4] << 8 | bytes[5]), maxval));
            });
        } else {
            readUnits(3, pixels_, [&](const std::uint8_t* bytes) {
                levels_.push_back(
                    lumaLevel(checked(bytes[0]), checked(bytes[1]), checked(bytes[2]), maxval));
            });
        }
    }

    template <typename Convert>
    void readUnits(std::size_t unitBytes, long long units, Convert convert) {
        readRuns(unitBytes, units, [&](const std::uint8_t* bytes, std::size_t count) {
            for (std::size_t unit = 0; unit < count; ++unit) {
                convert(bytes + unit * unitBytes);
            }
        });
    }

    // The units handed to `convert` as runs of whole ones, each run as the buffer holds it.
    template <typename Convert>
    void readRuns(std::size_t unitBytes, long long units, Convert convert) {
        const long long whole = place_.input.consumed() - place_.start + header_.rasterBytes();
        for (long long done = 0; done < units;) {
            if (!place_.input.fill(unitBytes)) {
                throwEndedInside(place_.input.name(), place_.number,
                                 place_.input.received() - place_.start, whole, "bytes");
            }
            const std::span<const std::uint8_t> bytes = place_.input.buffered();
            const auto count = static_cast<std::size_t>(std::min<long long>(
                static_cast<long long>(bytes.size() / unitBytes), units - done));
            convert(bytes.data(), count);
            place_.input.consume(count * unitBytes);
            done += static_cast<long long>(count);
        }
    }

    const PicturePlace& place_;
    const PnmHeader& header_;
    const long long pixels_;
    std::vector<std::uint8_t> levels_;
};

}  // namespace

std::vector<std::uint8_t> readPnmRaster(const PicturePlace& place, const PnmHeader& header) {
    return RasterReader(place, header).read();
}

}  // namespace dotwall::picture_stream
