#include "platform/res/dib.h"

#include <cstdint>

#include "platform/res/byte_reader.h"

namespace platform::res {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t Rgb(std::uint32_t blue, std::uint32_t green, std::uint32_t red) {
    return (red << 16) | (green << 8) | blue;
}

std::uint32_t ByteAt(std::span<const std::byte> bytes, std::size_t at) {
    return std::to_integer<std::uint32_t>(bytes[at]);
}

// The palette index of pixel `x` in a row of 1, 4 or 8 bits per pixel, leftmost pixel in the
// high bits of each byte.
std::uint32_t IndexAt(std::span<const std::byte> row, int bit_count, int x) {
    const auto bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bit_count);
    const std::uint32_t byte = ByteAt(row, bit / 8);
    const auto shift = 8 - bit_count - static_cast<int>(bit % 8);
    return (byte >> shift) & ((1u << bit_count) - 1);
}

}  // namespace

std::optional<DibHeader> ReadDibHeader(std::span<const std::byte> dib) {
    detail::ByteReader r(dib);
    const auto header_size = r.U32();
    const auto width = r.I32();
    const auto height = r.I32();
    const auto planes = r.U16();
    const auto bit_count = r.U16();
    const auto compression = r.U32();
    const auto size_image = r.U32();
    const auto x_pels_per_meter = r.I32();
    const auto y_pels_per_meter = r.I32();
    const auto clr_used = r.U32();
    if (!header_size || !width || !height || !planes || !bit_count || !compression || !size_image ||
        !x_pels_per_meter || !y_pels_per_meter || !clr_used) {
        return std::nullopt;
    }
    if (*header_size != kInfoHeaderSize && *header_size != kV4HeaderSize &&
        *header_size != kV5HeaderSize) {
        return std::nullopt;
    }
    if (*planes != 1 || *compression != kBiRgb) return std::nullopt;

    const std::int64_t abs_height = *height < 0 ? -std::int64_t{*height} : *height;
    if (*width <= 0 || *width > kMaxSide || abs_height == 0 || abs_height > kMaxSide) {
        return std::nullopt;
    }

    std::uint32_t palette_size = 0;
    switch (*bit_count) {
        case 1:
        case 4:
        case 8: {
            const std::uint32_t full = 1u << *bit_count;
            palette_size = *clr_used == 0 ? full : *clr_used;
            if (palette_size > full) return std::nullopt;
            break;
        }
        case 24:
        case 32:
            // A direct-colour bitmap may still carry a colour table, for palette displays.
            palette_size = *clr_used;
            break;
        default:
            return std::nullopt;
    }

    DibHeader header;
    header.header_size = *header_size;
    header.width = *width;
    header.height = static_cast<int>(abs_height);
    header.top_down = *height < 0;
    header.bit_count = *bit_count;
    header.palette_size = palette_size;
    const std::uint64_t pixel_offset = *header_size + std::uint64_t{palette_size} * 4;
    const std::uint64_t stride = (static_cast<std::uint64_t>(*width) * *bit_count + 31) / 32 * 4;
    if (pixel_offset + stride * static_cast<std::uint64_t>(abs_height) > dib.size()) {
        return std::nullopt;
    }
    header.pixel_offset = static_cast<std::size_t>(pixel_offset);
    header.stride = static_cast<std::size_t>(stride);
    return header;
}

std::optional<Image> DecodeDib(std::span<const std::byte> dib) {
    const auto header = ReadDibHeader(dib);
    if (!header) return std::nullopt;

    std::vector<std::uint32_t> palette;
    if (header->bit_count <= 8) {
        palette.resize(header->palette_size);
        const auto table = dib.subspan(header->header_size, palette.size() * 4);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i] =
                Rgb(ByteAt(table, i * 4), ByteAt(table, i * 4 + 1), ByteAt(table, i * 4 + 2));
        }
    }

    Image image;
    image.width = header->width;
    image.height = header->height;
    image.pixels.resize(static_cast<std::size_t>(header->width) *
                        static_cast<std::size_t>(header->height));
    const auto rows = dib.subspan(header->pixel_offset);
    for (int y = 0; y < header->height; ++y) {
        const int stored_row = header->top_down ? y : header->height - 1 - y;
        const auto row =
            rows.subspan(static_cast<std::size_t>(stored_row) * header->stride, header->stride);
        const auto out =
            std::span(image.pixels).subspan(static_cast<std::size_t>(y) * image.width, image.width);
        for (int x = 0; x < header->width; ++x) {
            const auto at = static_cast<std::size_t>(x);
            switch (header->bit_count) {
                case 24:
                    out[at] =
                        Rgb(ByteAt(row, at * 3), ByteAt(row, at * 3 + 1), ByteAt(row, at * 3 + 2));
                    break;
                case 32:
                    out[at] =
                        Rgb(ByteAt(row, at * 4), ByteAt(row, at * 4 + 1), ByteAt(row, at * 4 + 2));
                    break;
                default: {
                    const std::uint32_t index = IndexAt(row, header->bit_count, x);
                    out[at] = index < palette.size() ? palette[index] : 0;
                    break;
                }
            }
        }
    }
    return image;
}

}  // namespace platform::res
