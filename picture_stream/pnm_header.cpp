#include "picture_stream/pnm_header.h"

#include "base/runtime_error.h"
#include "picture_stream/picture_stream_reader.h"
#include "picture_stream/stream_messages.h"

namespace dotwall::picture_stream {

namespace {

[[noreturn]] void endedInHeader(const PicturePlace& place) {
    throw RuntimeError(ErrorKind::InvalidPicture,
                       place.input.name() + " ended inside the header of picture " +
                           std::to_string(place.number) + ": " +
                           std::to_string(place.input.received() - place.start) + " bytes came.");
}

int takeByte(const PicturePlace& place) {
    const int byte = place.input.peek();
    if (byte < 0) {
        endedInHeader(place);
    }
    place.input.consume(1);
    return byte;
}

// A comment runs from '#' up to and with the line's end.
void skipComment(const PicturePlace& place) {
    for (int byte = takeByte(place); byte != '\n' && byte != '\r'; byte = takeByte(place)) {
    }
}

// A decimal number after at least one whitespace byte or comment, up to `most`.
int readNumber(const PicturePlace& place, const char* what, long most) {
    const long long before = place.input.consumed();
    if (!skipPnmSpace(place.input)) {
        endedInHeader(place);
    }
    const int first = place.input.peek();
    if (place.input.consumed() == before || first < '0' || first > '9') {
        place.fail("'s header has " + quoted(first) + " where its " + what + " should be");
    }
    long value = 0;
    for (int byte = place.input.peek(); byte >= '0' && byte <= '9'; byte = place.input.peek()) {
        value = value * 10 + (byte - '0');
        if (value > most) {
            place.fail("'s " + std::string(what) + " is over " + std::to_string(most));
        }
        place.input.consume(1);
    }
    return static_cast<int>(value);
}

}  // namespace

void PicturePlace::fail(const std::string& what) const {
    throw RuntimeError(ErrorKind::InvalidPicture,
                       input.name() + ": picture " + std::to_string(number) + what + ".");
}

long long PnmHeader::rasterBytes() const {
    if (bits()) {
        return (width + 7) / 8 * static_cast<long long>(height);
    }
    return static_cast<long long>(width) * height * channels() * (maxval > 255 ? 2 : 1);
}

PnmHeader readPnmHeader(const PicturePlace& place) {
    PnmHeader header;
    const int p = takeByte(place);
    const int digit = p == 'P' ? takeByte(place) : -1;
    if (digit < '1' || digit > '6') {
        place.fail(" is no PNM picture: it starts with " + quoted(p, digit) + ", not P1 to P6");
    }
    header.format = digit - '0';
    header.width = readNumber(place, "width", kMostPixels);
    header.height = readNumber(place, "height", kMostPixels);
    const std::string size =
        " is " + std::to_string(header.width) + " x " + std::to_string(header.height) + " pixels";
    if (header.width == 0 || header.height == 0) {
        place.fail(size + ": it has no pixel");
    }
    if (const std::string tooMany = tooManyPixels(header.width, header.height); !tooMany.empty()) {
        place.fail(size + ", " + tooMany);
    }
    if (!header.bits()) {
        header.maxval = readNumber(place, "maxval", 65535);
        if (header.maxval == 0) {
            place.fail("'s maxval is 0, not 1 to 65535");
        }
    }
    if (!header.ascii()) {
        const int separator = takeByte(place);
        if (separator == '#') {
            skipComment(place);
        } else if (!isPnmWhitespace(separator)) {
            place.fail("'s header has " + quoted(separator) + " where one whitespace byte " +
                       "should end it");
        }
    }
    return header;
}

bool isPnmWhitespace(int byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

bool skipPnmSpace(StreamInput& input) {
    bool comment = false;
    for (int byte = input.peek(); byte >= 0; byte = input.peek()) {
        if (byte == '#') {
            comment = true;
        } else if (byte == '\n' || byte == '\r') {
            comment = false;
        } else if (!comment && !isPnmWhitespace(byte)) {
            return true;
        }
        input.consume(1);
    }
    return false;
}

std::string quoted(int byte, int second) {
    std::string text = "\"";
    for (const int each : {byte, second}) {
        if (each >= ' ' && each <= '~') {
            text += static_cast<char>(each);
        } else if (each >= 0) {
            constexpr char kHex[] = "0123456789abcdef";
            text += {'\\', 'x', kHex[each >> 4 & 15], kHex[each & 15]};
        }
    }
    return text + "\"";
}

}  // namespace dotwall::picture_stream
