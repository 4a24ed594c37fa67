// The bitmap decoder: a decoded image must have exactly one pixel per position, and the header
// the decoder relies on must agree with it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/res/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const auto header = platform::res::ReadDibHeader(bytes);
    const auto image = platform::res::DecodeDib(bytes);
    if (!image) return 0;
    if (!header || image->width != header->width || image->height != header->height ||
        image->width <= 0 || image->height <= 0 ||
        image->pixels.size() !=
            static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height)) {
        __builtin_trap();
    }
    for (std::uint32_t pixel : image->pixels) {
        if (pixel > 0xFFFFFF) __builtin_trap();
    }
    return 0;
}
