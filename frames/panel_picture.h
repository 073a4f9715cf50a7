#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dotwall {

// The pixels a panel shows, row by row: each lit (1) or dark (0), or on a panel of more grey
// levels each at its level, 0 (dark) to levels - 1 (lit in every frame).
class PanelPicture {
  public:
    PanelPicture(int width, int height, int levels = 2)
        : width_(width),
          height_(height),
          levels_(levels),
          level_(static_cast<std::size_t>(width) * height, 0) {}

    int width() const { return width_; }
    int height() const { return height_; }
    int levels() const { return levels_; }
    bool lit(int x, int y) const { return level_[index(x, y)] != 0; }
    void setLit(int x, int y, bool lit) { level_[index(x, y)] = lit ? 1 : 0; }
    int level(int x, int y) const { return level_[index(x, y)]; }
    void setLevel(int x, int y, int level) {
        level_[index(x, y)] = static_cast<std::uint8_t>(level);
    }

    friend bool operator==(const PanelPicture&, const PanelPicture&) = default;

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_;
    int height_;
    int levels_;
    std::vector<std::uint8_t> level_;
};

}  // namespace dotwall
