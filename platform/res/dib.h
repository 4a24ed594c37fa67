#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::res {

// The facts of a device-independent bitmap's header that decoding relies on.
struct DibHeader {
    std::uint32_t header_size = 0;  // 40, 108 or 124
    int width = 0;
    int height = 0;  // always positive; see top_down
    bool top_down = false;
    int bit_count = 0;               // 1, 4, 8, 24 or 32
    std::uint32_t palette_size = 0;  // colour table entries
    std::size_t pixel_offset = 0;    // where the rows start, from the start of the header
    std::size_t stride = 0;          // bytes per row, padding included
};

// Pixels are 0x00RRGGBB, rows top-down, no padding: the layout of platform::gdi::Surface.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels{};

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    friend bool operator==(const Image&, const Image&) = default;
};

// Checks the header, colour table and pixel data size of a bitmap stored without its file
// header (as in a bitmap resource). Only uncompressed 1, 4, 8, 24 and 32 bits per pixel, one
// plane, at most 16384 pixels a side.
std::optional<DibHeader> ReadDibHeader(std::span<const std::byte> dib);

std::optional<Image> DecodeDib(std::span<const std::byte> dib);

}  // namespace platform::res
