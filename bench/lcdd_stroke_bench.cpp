// One stroke of DotwallFrame lcdd on DotwallLpt's panel with a full screen of text, 106 x 30
// cells of 6 x 8 pixels set by string widgets of a client: the sessions draw the screen onto
// the canvas, the ink becomes a picture and is packed for the panel, as the refresh takes it.
#include <benchmark/benchmark.h>

#include <string>

#include "frame_tool/lcdd.h"
#include "frames/panel_profile.h"
#include "picture/frame_packing.h"
#include "text_screens/lcd_sessions.h"

namespace {

using namespace dotwall;

// DotwallLpt's panel taken pixel for pixel, and a client's screen full of text on it.
struct FullScreen {
    FullScreen() {
        profile.sampling = PictureSampling::PixelForPixel;
        const text_screens::ClientId client = sessions.connect();
        sessions.receive(client, "hello");
        sessions.receive(client, "screen_add s");
        sessions.receive(client, "screen_set s -priority foreground -heartbeat off");
        std::string text;
        for (int c = 0; c < canvas.columns(); ++c) {
            text += static_cast<char>('!' + c % 90);
        }
        for (int row = 1; row <= canvas.rows(); ++row) {
            const std::string id = "w" + std::to_string(row);
            sessions.receive(client, "widget_add s " + id + " string");
            sessions.receive(
                client, "widget_set s " + id + " 1 " + std::to_string(row) + " \"" + text + "\"");
        }
    }
    PanelFrame packed() const {
        return packPanelFrame(
            profile, frame_tool::inkPicture(canvas.ink(), profile.width, profile.lines), {});
    }

    PanelProfile profile = dotwallLptProfile();
    text_display::TextCanvas canvas{profile.width, profile.lines, {6, 8}};
    text_screens::LcdSessions sessions{canvas.cell(), canvas.columns(), canvas.rows(), {}};
};

void wholeStroke(benchmark::State& state) {
    FullScreen screen;
    for (auto _ : state) {
        screen.sessions.stroke(screen.canvas);
        benchmark::DoNotOptimize(screen.packed());
    }
}

// The picture and its packing alone, the part on play's worker.
void pictureAndPacking(benchmark::State& state) {
    FullScreen screen;
    screen.sessions.stroke(screen.canvas);
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.packed());
    }
}

BENCHMARK(wholeStroke)->Unit(benchmark::kMillisecond)->Repetitions(20)->ReportAggregatesOnly();
BENCHMARK(pictureAndPacking)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(20)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
