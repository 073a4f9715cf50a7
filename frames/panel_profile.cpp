#include "frames/panel_profile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "base/bounded_file.h"
#include "base/json.h"
#include "base/runtime_error.h"

namespace dotwall {

namespace {

// A profile file is small; reading stops beyond this, so /dev/zero cannot make it read on.
constexpr std::size_t kMostProfileBytes = 64 * 1024;

// 15 digits, or 17 where 15 would not read back as the same number, so that a printed
// profile is read again alike, also with a rate at the very top of its range.
std::string numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", number);
    if (std::strtod(text, nullptr) != number) {
        std::snprintf(text, sizeof text, "%.17g", number);
    }
    return text;
}

// Reads the keys of one profile, each once, and says what is wrong with the first bad one.
class ProfileReader {
  public:
    ProfileReader(const json::Value& document, std::string source) : source_(std::move(source)) {
        if (document.type != json::Value::Type::Object) {
            fail("it holds " + document.kind() + ", not an object of keys");
        }
        for (std::size_t i = 0; i < document.keys.size(); ++i) {
            if (!keys_.emplace(document.keys[i], &document.array[i]).second) {
                fail("the key " + json::quoted(document.keys[i]) + " is given twice");
            }
        }
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw RuntimeError(ErrorKind::InvalidProfile,
                           "The panel profile " + source_ + " cannot be used: " + what + ".");
    }

    const json::Value* optional(const std::string& key) {
        const auto found = keys_.find(key);
        if (found == keys_.end()) {
            return nullptr;
        }
        const json::Value* value = found->second;
        keys_.erase(found);
        return value;
    }

    const json::Value& required(const std::string& key) {
        const json::Value* value = optional(key);
        if (value == nullptr) {
            fail("the key \"" + key + "\" is missing");
        }
        return *value;
    }

    int whole(const std::string& key, const json::Value& value, int lowest, int highest,
              const char* rule = nullptr) {
        const bool number = value.type == json::Value::Type::Number;
        if (!number || value.number != std::floor(value.number) || value.number < lowest ||
            value.number > highest) {
            fail("\"" + key + "\" is " + (number ? numberText(value.number) : value.kind()) +
                 ", but must be " +
                 (rule != nullptr ? rule
                                  : "a whole number from " + std::to_string(lowest) + " to " +
                                        std::to_string(highest)));
        }
        return static_cast<int>(value.number);
    }

    // A port bit, 0 to 7, that no other signal uses; `position` (from 1) of a list's item.
    int bit(const std::string& key, const json::Value& value, int position = 0) {
        const int bit = whole(key, value, 0, 7, "a port bit from 0 to 7");
        if (const auto used = users_.find(bit); used != users_.end()) {
            const auto& [usedKey, usedPosition] = used->second;
            if (usedKey == key) {
                fail("\"" + key + "\" uses bit " + std::to_string(bit) + " twice (positions " +
                     std::to_string(usedPosition) + " and " + std::to_string(position) + ")");
            }
            fail("bit " + std::to_string(bit) + " is used by both " + user(usedKey, usedPosition) +
                 " and " + user(key, position));
        }
        users_.emplace(bit, std::pair(key, position));
        return bit;
    }

    void refuseUnknownKeys() {
        if (!keys_.empty()) {
            fail("the key " + json::quoted(keys_.begin()->first) + " is unknown");
        }
    }

  private:
    static std::string user(const std::string& key, int position) {
        return "\"" + key + "\"" +
               (position != 0 ? " (position " + std::to_string(position) + ")" : "");
    }

    std::string source_;
    std::map<std::string, const json::Value*> keys_;
    std::map<int, std::pair<std::string, int>> users_;  // the key and position using a bit
};

// 0, or from 1 frame a second (slower, a passive panel's picture fades and its glass is held
// at one level long enough to take DC; a stop waits at most a second for the frame's end) to
// a million lines a second (a line of at least 1 µs, about one port write).
double framesPerSecond(ProfileReader& reader, const json::Value& rate, int lines) {
    const double fastest = PanelProfile::kMostLinesPerSecond / lines;
    const bool number = rate.type == json::Value::Type::Number;
    if (!number || !(rate.number == 0 || (rate.number >= 1 && rate.number <= fastest))) {
        reader.fail("\"frames_per_second\" is " + (number ? numberText(rate.number) : rate.kind()) +
                    ", but must be 0 (as fast as the port goes) or from 1 (slower, the picture "
                    "fades and DC stays on the glass) to " +
                    numberText(fastest) + " (1000000 lines a second, each line at least 1 µs)");
    }
    return rate.number;
}

PanelProfile readProfile(const json::Value& document, const std::string& source) {
    ProfileReader reader(document, source);
    PanelProfile profile;
    const json::Value& name = reader.required("name");
    if (name.type != json::Value::Type::String || name.string.empty()) {
        reader.fail("\"name\" must be a string that is not empty");
    }
    if (name.string.find('\0') != std::string::npos) {
        reader.fail("\"name\" holds \\u0000, which a name may not hold");
    }
    profile.name = name.string;
    profile.width = reader.whole("width", reader.required("width"), 4, PanelProfile::kMostPixels,
                                 "a multiple of 4 from 4 to 4096");
    if (profile.width % 4 != 0) {
        reader.fail("\"width\" is " + std::to_string(profile.width) +
                    ", but must be a multiple of 4 from 4 to 4096");
    }
    profile.lines = reader.whole("lines", reader.required("lines"), 1, PanelProfile::kMostLines);
    const json::Value& data = reader.required("data");
    if (data.type != json::Value::Type::Array || data.array.size() != 4) {
        reader.fail(
            "\"data\" must be a list of the 4 port bits of a group's pixels, leftmost "
            "first");
    }
    for (std::size_t i = 0; i < 4; ++i) {
        profile.data[i] = reader.bit("data", data.array[i], static_cast<int>(i) + 1);
    }
    profile.shiftClock = reader.bit("shift_clock", reader.required("shift_clock"));
    profile.lineLatch = reader.bit("line_latch", reader.required("line_latch"));
    profile.frameMarker = reader.bit("frame_marker", reader.required("frame_marker"));
    if (const json::Value* ac = reader.optional("ac")) {
        profile.ac = reader.bit("ac", *ac);
    }
    if (const json::Value* toggle = reader.optional("ac_toggle")) {
        if (!profile.ac) {
            reader.fail("\"ac_toggle\" needs \"ac\", the AC line's bit");
        }
        if (!(toggle->type == json::Value::Type::String && toggle->string == "frame")) {
            profile.acEveryLines = reader.whole("ac_toggle", *toggle, 1, PanelProfile::kMostLines,
                                                "\"frame\" or a whole number of line latches "
                                                "from 1 to 4096");
        }
    }
    if (const json::Value* invert = reader.optional("invert")) {
        if (invert->type != json::Value::Type::Boolean) {
            reader.fail("\"invert\" is " + invert->kind() + ", but must be true or false");
        }
        profile.invert = invert->boolean;
    }
    if (const json::Value* levels = reader.optional("grey_levels")) {
        profile.greyLevels = reader.whole("grey_levels", *levels, 2, PanelFrame::kMostGreyLevels,
                                          "a whole number from 2 (black and white) to 16");
    }
    if (const json::Value* rate = reader.optional("frames_per_second")) {
        profile.framesPerSecond = framesPerSecond(reader, *rate, profile.lines);
    }
    reader.refuseUnknownKeys();
    return profile;
}

}  // namespace

long PanelProfile::linePeriodNs() const {
    return framesPerSecond > 0 ? std::lround(1e9 / (framesPerSecond * lines)) : 0;
}

PanelProfile dotwallLptProfile() {
    PanelProfile profile;
    profile.name = kDotwallLptProfile;
    profile.width = 640;
    profile.lines = 241;
    profile.data = {3, 2, 1, 0};
    profile.shiftClock = 6;
    profile.lineLatch = 4;
    profile.frameMarker = 5;
    profile.sampling = PictureSampling::ScaledGridWithTestMark;
    return profile;
}

PanelProfile parsePanelProfile(std::string_view text, const std::string& source) {
    json::Value document;
    try {
        document = json::parse(text);
    } catch (const RuntimeError& error) {
        throw RuntimeError(ErrorKind::InvalidProfile,
                           "The panel profile " + source +
                               " cannot be used: it is no JSON: " + error.what() + ".");
    }
    return readProfile(document, source);
}

PanelProfile loadPanelProfile(const std::string& nameOrFile) {
    if (nameOrFile == kDotwallLptProfile) {
        return dotwallLptProfile();
    }
    const std::vector<std::uint8_t> read =
        readFileStart(nameOrFile, kMostProfileBytes, "read the panel profile");
    const std::string text(read.begin(), read.end());
    const std::string source = "\"" + nameOrFile + "\"";
    if (text.size() > kMostProfileBytes) {
        throw RuntimeError(ErrorKind::InvalidProfile,
                           "The panel profile " + source + " cannot be used: it is larger than " +
                               std::to_string(kMostProfileBytes) + " bytes.");
    }
    PanelProfile profile = parsePanelProfile(text, source);
    profile.file = nameOrFile;
    return profile;
}

std::string profileJson(const PanelProfile& profile) {
    auto bit = [](int value) { return std::to_string(value); };
    std::string text = "{\n  \"name\": " + json::quoted(profile.name) +
                       ",\n  \"width\": " + std::to_string(profile.width) +
                       ",\n  \"lines\": " + std::to_string(profile.lines) + ",\n  \"data\": [" +
                       bit(profile.data[0]) + ", " + bit(profile.data[1]) + ", " +
                       bit(profile.data[2]) + ", " + bit(profile.data[3]) +
                       "],\n  \"shift_clock\": " + bit(profile.shiftClock) +
                       ",\n  \"line_latch\": " + bit(profile.lineLatch) +
                       ",\n  \"frame_marker\": " + bit(profile.frameMarker);
    if (profile.ac) {
        text += ",\n  \"ac\": " + bit(*profile.ac) + ",\n  \"ac_toggle\": " +
                (profile.acEveryLines == 0 ? std::string("\"frame\"")
                                           : std::to_string(profile.acEveryLines));
    }
    text += ",\n  \"invert\": " + std::string(profile.invert ? "true" : "false");
    if (profile.greyLevels != 2) {
        text += ",\n  \"grey_levels\": " + std::to_string(profile.greyLevels);
    }
    return text + ",\n  \"frames_per_second\": " + numberText(profile.framesPerSecond) + "\n}\n";
}

}  // namespace dotwall
