#pragma once

#include <cstdint>

#include "text_display/text_canvas.h"
#include "text_screens/screen_model.h"

namespace dotwall::text_screens {

// Draws the screen onto the canvas (not cleared here) as LCDd draws it at that stroke: every
// widget from the top-left of the whole display whatever the screen's size, clipped where the
// display ends, then the heartbeat in the top-right cell and the cursor.
void drawScreen(const Screen& screen, std::uint64_t stroke, text_display::TextCanvas& canvas);

}  // namespace dotwall::text_screens
