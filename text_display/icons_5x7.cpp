// The symbols of the line protocol's icons on 5 x 7 dots, in the order of enum Icon.
#include "text_display/drawing_5x7.h"

namespace dotwall::text_display {
namespace {

constexpr Drawing5x7 kIcons[] = {
    drawn("##### ##### ##### ##### ##### ##### #####"),  // block filled
    drawn("..... .#.#. #.#.# #...# .#.#. ..#.. ....."),  // heart open
    drawn("..... .#.#. ##### ##### .###. ..#.. ....."),  // heart filled
    drawn("..#.. .###. #.#.# ..#.. ..#.. ..#.. ..#.."),  // arrow up
    drawn("..#.. ..#.. ..#.. ..#.. #.#.# .###. ..#.."),  // arrow down
    drawn("..... ..#.. .#... ##### .#... ..#.. ....."),  // arrow left
    drawn("..... ..#.. ...#. ##### ...#. ..#.. ....."),  // arrow right
    drawn("..... ##### #...# #...# #...# ##### ....."),  // checkbox off
    drawn("..... ##### #..## ##.## #.#.# ##### ....."),  // checkbox on: a tick
    drawn("..... ##### #.#.# ##.## #.#.# ##### ....."),  // checkbox grey: half-tone
    drawn("#.... ##... ###.. ####. ###.. ##... #...."),  // selector at left
    drawn("....# ...## ..### .#### ..### ...## ....#"),  // selector at right
    drawn("..... ..... ..... ..... ..... ..... #.#.#"),  // ellipsis
    drawn("..... ##### ##### ##### ##### ##### ....."),  // stop
    drawn("..... ##.## ##.## ##.## ##.## ##.## ....."),  // pause
    drawn("..... .#... .##.. .###. .##.. .#... ....."),  // play
    drawn("..... ...#. ..##. .###. ..##. ...#. ....."),  // play reverse
    drawn("..... #.#.. ##.#. ##### ##.#. #.#.. ....."),  // fast forward
    drawn("..... ..#.# .#.## ##### .#.## ..#.# ....."),  // fast reverse
    drawn("..... #...# ##..# ###.# ##..# #...# ....."),  // next
    drawn("..... #...# #..## #.### #..## #...# ....."),  // previous
    drawn("..... .###. ##### ##### ##### .###. ....."),  // record
};
static_assert(std::size(kIcons) == static_cast<int>(Icon::Record) + 1, "one drawing per icon");

}  // namespace

Drawing5x7 icon5x7(Icon icon) {
    return kIcons[static_cast<int>(icon)];
}

}  // namespace dotwall::text_display
