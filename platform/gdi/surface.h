#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/geometry.h"

namespace platform::gdi {

// Pixels are 0x00RRGGBB, rows top-down, no padding.
using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
    return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
           static_cast<Pixel>(b & 0xFF);
}
constexpr int Red(Pixel p) {
    return (p >> 16) & 0xFF;
}
constexpr int Green(Pixel p) {
    return (p >> 8) & 0xFF;
}
constexpr int Blue(Pixel p) {
    return p & 0xFF;
}

// A 32-bit pixel surface: the storage of a bitmap or of a top-level window.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, Pixel fill = 0)
        : width_(width > 0 ? width : 0),
          height_(height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

    // Takes rows of pixels already laid out; nothing if the count does not match.
    static Surface FromPixels(int width, int height, std::vector<Pixel> pixels) {
        Surface surface;
        if (width > 0 && height > 0 &&
            pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
            surface.width_ = width;
            surface.height_ = height;
            surface.pixels_ = std::move(pixels);
        }
        return surface;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    Size Dimensions() const { return {width_, height_}; }
    Rect Bounds() const { return {0, 0, width_, height_}; }

    std::span<Pixel> Row(int y) {
        return std::span<Pixel>(pixels_).subspan(static_cast<std::size_t>(y) * width_, width_);
    }
    std::span<const Pixel> Row(int y) const {
        return std::span<const Pixel>(pixels_).subspan(static_cast<std::size_t>(y) * width_,
                                                       width_);
    }
    Pixel At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void Set(int x, int y, Pixel p) { pixels_[static_cast<std::size_t>(y) * width_ + x] = p; }
    std::span<const Pixel> Data() const { return pixels_; }

    // Fills the part of `area` that lies inside the surface.
    void Fill(Rect area, Pixel p) {
        area = area.Intersect(Bounds());
        for (int y = area.top; y < area.bottom; ++y) {
            auto row = Row(y);
            std::fill(row.begin() + area.left, row.begin() + area.right, p);
        }
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

}  // namespace platform::gdi
