#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "frames/panel_profile.h"

namespace dotwall::frame_tool {

struct LcddSettings {
    PanelProfile profile;
    std::string listen;  // ADDRESS:PORT
    std::string cell;    // WIDTHxHEIGHT, one of the offered sizes
};

// The cell sizes offered, as --cell takes them ("6x8, 8x16"), and the first of them.
std::string offeredCells();
std::string defaultCell();

// A text canvas's ink (width x height, 1 ink, 0 paper) as the picture play packs: ink black on
// white paper, as a picture of text is drawn, so the panel shows it as it shows any picture.
QImage inkPicture(const std::vector<std::uint8_t>& ink, int width, int height);

// Serves LCDproc's clients on the address and streams the screen they show to the panel, as
// play streams its pictures (see playPictures), each stroke's picture from the next frame
// boundary on, until SIGINT or SIGTERM. Warns on standard error when the address reaches
// beyond this machine. Raises WrongUsage for a cell not offered or an address that is none,
// and NetworkFailed, naming the address, when it cannot listen there (the port in use).
void serveLcd(const LcddSettings& settings);

}  // namespace dotwall::frame_tool
