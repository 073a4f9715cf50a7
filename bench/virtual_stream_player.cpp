// Plays DotwallLpt's stream into the port library it finds by name (libWinIo.so; put the
// virtual one first with LD_LIBRARY_PATH), through DotwallLpt's own port binding, for the
// given number of seconds, and prints the frames per second it reached. The frame is the
// pre-filled frame buffer: its stripes cost the decoder what any picture costs.
//   virtual_stream_player SECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "common/frame_buffer.h"
#include "common/port_signals.h"
#include "port_tool/module1.h"

int main(int argc, char** argv) {
    using namespace dotwall;
    using Clock = std::chrono::steady_clock;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    port_tool::Module1 port;
    if (!port.start()) {
        std::fputs("virtual_stream_player: InitializeWinIo failed\n", stderr);
        return 1;
    }
    FrameBuffer frame;
    frame.preFill();
    const Clock::time_point start = Clock::now();
    long frames = 0;
    port_signals::streamFrames(frame, port, [&] {
        ++frames;
        return std::chrono::duration<double>(Clock::now() - start).count() >= seconds;
    });
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    port.stop();
    std::printf("%ld frames in %.1f s: %.2f frames/s\n", frames, elapsed, frames / elapsed);
    return 0;
}
