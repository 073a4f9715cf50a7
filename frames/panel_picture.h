#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dotwall {

// The pixels a panel shows, row by row, each lit (1) or dark (0).
class PanelPicture {
  public:
    PanelPicture(int width, int height)
        : width_(width), height_(height), lit_(static_cast<std::size_t>(width) * height, 0) {}

    int width() const { return width_; }
    int height() const { return height_; }
    bool lit(int x, int y) const { return lit_[index(x, y)] != 0; }
    void setLit(int x, int y, bool lit) { lit_[index(x, y)] = lit ? 1 : 0; }

    friend bool operator==(const PanelPicture&, const PanelPicture&) = default;

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<std::uint8_t> lit_;
};

}  // namespace dotwall
