#include "port_tool/refresh.h"

#include <utility>

namespace dotwall::port_tool {

Refresh::Then Refresh::run(const FrameBuffer& frame, const std::function<void()>& betweenFrames) {
    struct Streaming {
        explicit Streaming(bool& flag) : flag(flag) { flag = true; }
        ~Streaming() { flag = false; }
        bool& flag;
    } streaming(streaming_);
    stopRequested_ = false;
    then_ = Then::StayOpen;
    port_signals::streamFrames(frame, port_, [&] {
        betweenFrames();
        return stopRequested_;
    });
    port_.write(port_signals::kAllLinesLow);
    return std::exchange(then_, Then::StayOpen);
}

void Refresh::requestStop(Then then) {
    stopRequested_ = true;
    if (then == Then::Close) {
        then_ = Then::Close;
    }
}

}  // namespace dotwall::port_tool
