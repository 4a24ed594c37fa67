#include "platform/res/dib.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/res/byte_writer.h"

namespace platform::res {
namespace {

using res_test::ByteWriter;

struct DibShape {
    std::uint32_t header_size = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bit_count = 8;
    std::uint32_t compression = 0;
    std::uint32_t clr_used = 0;
    std::vector<std::uint32_t> palette{};  // 0xRRGGBB, stored as blue, green, red, reserved
    std::vector<std::uint8_t> rows{};      // as stored, padding included
};

std::vector<std::byte> MakeDib(const DibShape& s) {
    ByteWriter w;
    w.U32(s.header_size).I32(s.width).I32(s.height).U16(s.planes).U16(s.bit_count);
    w.U32(s.compression).U32(0).I32(2835).I32(2835).U32(s.clr_used).U32(0);
    // The V4/V5 fields after the first 40 bytes do not matter for uncompressed data.
    for (std::uint32_t i = 40; i < s.header_size; ++i) w.U8(0xEE);
    for (std::uint32_t c : s.palette) w.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8(c >> 16).U8(0x99);
    for (std::uint8_t b : s.rows) w.U8(b);
    return w.Bytes();
}

std::vector<std::uint32_t> Grey256() {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t i = 0; i < 256; ++i) palette.push_back(i * 0x010101);
    return palette;
}

// A 1-bit bitmap with all the pixel data its size needs, so that only the size can be wrong.
void MakeOneBit(DibShape& s, std::int32_t width, std::int32_t height) {
    s.width = width;
    s.height = height;
    s.bit_count = 1;
    s.palette = {0, 0xFFFFFF};
    const std::size_t stride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    s.rows.assign(stride * static_cast<std::size_t>(height < 0 ? -height : height), 0xFF);
}

// A valid 8-bit 2x2 bitmap that the rejection cases each break in one way.
DibShape Good8Bit() {
    DibShape s;
    s.palette = Grey256();
    s.rows = {5, 255, 0, 0, 0, 128, 0, 0};
    return s;
}

TEST(ResDib, DecodesEachDepthToTopDownRgb) {
    constexpr std::uint32_t kA = 0x102030, kB = 0xA0B0C0;
    constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
    static const struct {
        const char* label;
        DibShape shape;
        std::vector<std::uint32_t> expected;  // top row first
    } cases[] = {
        {"1 bit, bottom-up, leftmost pixel in the high bit",
         {.width = 3, .bit_count = 1, .palette = {kA, kB}, .rows = {0xA0, 0, 0, 0, 0x60, 0, 0, 0}},
         {kA, kB, kB, kB, kA, kB}},
        {"4 bits, top-down, short table: index past it is black",
         {.width = 3,
          .height = -2,
          .bit_count = 4,
          .clr_used = 3,
          .palette = {kRed, kGreen, kBlue},
          .rows = {0x01, 0x20, 0, 0, 0x2F, 0x10, 0, 0}},
         {kRed, kGreen, kBlue, kBlue, 0, kGreen}},
        {"8 bits, full table by default, bottom-up",
         Good8Bit(),
         {0x000000, 0x808080, 0x050505, 0xFFFFFF}},
        {"8 bits, two used entries",
         {.width = 3, .height = 1, .clr_used = 2, .palette = {kA, kB}, .rows = {1, 2, 0, 0}},
         {kB, 0, kA}},
        {"24 bits, rows padded to 4 bytes",
         {.bit_count = 24,
          .rows = {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0,  //
                   0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0, 0}},
         {0x102030, 0x405060, 0x010203, 0x040506}},
        {"32 bits, the fourth byte ignored",
         {.height = 1, .bit_count = 32, .rows = {0x03, 0x02, 0x01, 0xFF, 0x30, 0x20, 0x10, 0x7F}},
         {0x010203, 0x102030}},
        {"V5 header, 24 bits with a colour table to skip",
         {.header_size = 124,
          .width = 1,
          .height = -1,
          .bit_count = 24,
          .clr_used = 2,
          .palette = {kA, kB},
          .rows = {0x03, 0x02, 0x01, 0}},
         {0x010203}},
        {"V4 header, 8 bits",
         {.header_size = 108,
          .width = 1,
          .height = 1,
          .clr_used = 2,
          .palette = {kA, kB},
          .rows = {1, 0, 0, 0}},
         {kB}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto dib = MakeDib(c.shape);
        const auto image = DecodeDib(dib);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, c.shape.width);
        EXPECT_EQ(image->height, c.shape.height < 0 ? -c.shape.height : c.shape.height);
        EXPECT_EQ(image->pixels, c.expected);
    }
}

TEST(ResDib, HeaderReportsLayout) {
    const auto dib = MakeDib({.header_size = 124,
                              .width = 3,
                              .height = -2,
                              .bit_count = 24,
                              .clr_used = 2,
                              .palette = {1, 2},
                              .rows = std::vector<std::uint8_t>(24)});
    const auto header = ReadDibHeader(dib);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->header_size, 124u);
    EXPECT_EQ(header->width, 3);
    EXPECT_EQ(header->height, 2);
    EXPECT_TRUE(header->top_down);
    EXPECT_EQ(header->bit_count, 24);
    EXPECT_EQ(header->palette_size, 2u);
    EXPECT_EQ(header->pixel_offset, 132u);
    EXPECT_EQ(header->stride, 12u);
}

TEST(ResDib, AcceptsSidesOfExactly16384) {
    static const struct {
        const char* label;
        std::int32_t width, height;
    } cases[] = {
        {"widest", 16384, 1},
        {"tallest bottom-up", 1, 16384},
        {"tallest top-down", 1, -16384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DibShape shape;
        MakeOneBit(shape, c.width, c.height);
        const auto image = DecodeDib(MakeDib(shape));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->pixels.size(),
                  static_cast<std::size_t>(c.width) * static_cast<std::size_t>(image->height));
        EXPECT_EQ(image->pixels.back(), 0xFFFFFFu);
    }
}

TEST(ResDib, RejectsBadHeadersSizesAndShortData) {
    static const struct {
        const char* label;
        void (*breaks)(DibShape&);
        std::size_t cut = 0;  // bytes removed from the end after building
    } cases[] = {
        {"core header (12 bytes)", [](DibShape& s) { s.header_size = 12; }},
        {"unknown header size", [](DibShape& s) { s.header_size = 64; }},
        {"zero width", [](DibShape& s) { s.width = 0; }},
        {"negative width", [](DibShape& s) { s.width = -2; }},
        {"width over the cap", [](DibShape& s) { MakeOneBit(s, 16385, 1); }},
        {"zero height", [](DibShape& s) { s.height = 0; }},
        {"height over the cap", [](DibShape& s) { MakeOneBit(s, 1, 16385); }},
        {"top-down height over the cap", [](DibShape& s) { MakeOneBit(s, 1, -16385); }},
        {"most negative height", [](DibShape& s) { s.height = INT32_MIN; }},
        {"no planes", [](DibShape& s) { s.planes = 0; }},
        {"two planes", [](DibShape& s) { s.planes = 2; }},
        {"2 bits per pixel", [](DibShape& s) { s.bit_count = 2; }},
        {"16 bits per pixel", [](DibShape& s) { s.bit_count = 16; }},
        {"run-length compressed", [](DibShape& s) { s.compression = 1; }},
        {"bit fields", [](DibShape& s) { s.compression = 3; }},
        {"palette larger than the depth allows", [](DibShape& s) { s.clr_used = 257; }},
        {"1 bit with a 3-entry palette",
         [](DibShape& s) {
             s.bit_count = 1;
             s.clr_used = 3;
         }},
        {"direct colour with a 4G-entry table",
         [](DibShape& s) {
             s.bit_count = 32;
             s.clr_used = 0xFFFFFFFF;
         }},
        {"pixel data one byte short", [](DibShape&) {}, 1},
        {"last row missing", [](DibShape&) {}, 4},
        {"cut inside the palette", [](DibShape&) {}, 8 + 4 * 200},
        {"cut inside the header", [](DibShape&) {}, 8 + 4 * 256 + 10},
        {"V5 header cut short",
         [](DibShape& s) {
             s.header_size = 124;
             s.palette.clear();
             s.rows.clear();
         },
         24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DibShape shape = Good8Bit();
        c.breaks(shape);
        auto dib = MakeDib(shape);
        ASSERT_LE(c.cut, dib.size());
        dib.erase(dib.end() - static_cast<std::ptrdiff_t>(c.cut), dib.end());
        EXPECT_FALSE(ReadDibHeader(dib).has_value());
        EXPECT_FALSE(DecodeDib(dib).has_value());
    }
    EXPECT_FALSE(DecodeDib({}).has_value());
    // The unbroken base decodes, so each row above fails for its own reason.
    EXPECT_TRUE(DecodeDib(MakeDib(Good8Bit())).has_value());
}

}  // namespace
}  // namespace platform::res
