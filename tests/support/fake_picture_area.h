#pragma once

#include <functional>
#include <utility>

#include "picture_area.h"

namespace dotwall::testing {

// A picture area whose colours come from a function of the test's own, so a packer can be
// checked against a picture the test defines point by point. Counts the point queries.
class FakePictureArea final : public PictureArea {
  public:
    using ColourAt = std::function<ColourValue(float x, float y)>;

    FakePictureArea(float width, float height, ColourAt colourAt)
        : width_(width), height_(height), colourAt_(std::move(colourAt)) {}

    ColourValue pointColour(float x, float y) const override {
        ++queries_;
        return colourAt_(x, y);
    }
    float areaWidth() const override { return width_; }
    float areaHeight() const override { return height_; }
    void setPicture(const QImage&) override {}
    void redraw() override {}

    long queries() const { return queries_; }

  private:
    float width_;
    float height_;
    ColourAt colourAt_;
    mutable long queries_ = 0;
};

}  // namespace dotwall::testing
