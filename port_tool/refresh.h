#pragma once

#include <functional>

#include "common/frame_buffer.h"
#include "common/port_signals.h"

namespace dotwall::port_tool {

// GO!'s refresh as the window drives it: the frame out of the port, frame after frame, until
// a stop is asked, then 0 once so that no latch or clock line is left high. Between two
// frames, and only there, the window takes its events, where Stop or closing may be asked;
// a frame is never cut.
class Refresh {
  public:
    enum class Then { StayOpen, Close };

    explicit Refresh(port_signals::PortWriter& port) : port_(port) {}

    // Streams until a stop is asked and says what the window does next. A write that fails
    // ends the stream with its error, leaving the refresh idle.
    Then run(const FrameBuffer& frame, const std::function<void()>& betweenFrames);

    // Ends the stream after the frame being sent; with Then::Close the window closes after.
    void requestStop(Then then = Then::StayOpen);

    bool streaming() const { return streaming_; }

  private:
    port_signals::PortWriter& port_;
    bool streaming_ = false;
    bool stopRequested_ = false;
    Then then_ = Then::StayOpen;
};

}  // namespace dotwall::port_tool
