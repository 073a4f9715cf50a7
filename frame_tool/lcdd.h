#pragma once

#include <string>

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

// Serves LCDproc's clients on the address and streams the screen they show to the panel, as
// play streams its pictures (see playPictures), each stroke's picture from the next frame
// boundary on, until SIGINT or SIGTERM. Warns on standard error when the address reaches
// beyond this machine. Raises WrongUsage for a cell not offered or an address that is none,
// and NetworkFailed, naming the address, when it cannot listen there (the port in use).
void serveLcd(const LcddSettings& settings);

}  // namespace dotwall::frame_tool
