// The game's nine pictures as committed: the exact bitmap layout the program embeds, the
// near-white ground the eight reel symbols stand on, and that the symbols are distinct.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPaletteEntries = 256;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * kPaletteEntries;
constexpr int kSymbolSize = 128;
constexpr int kSymbolCount = 8;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb kGround{252, 252, 252};

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}

// Little-endian fields at fixed offsets; a field that does not fit reads as nothing.
class LittleEndian {
  public:
    explicit LittleEndian(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::uint32_t> Read(std::size_t offset, std::size_t size) const {
        if (offset > bytes_.size() || size > bytes_.size() - offset) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes_[offset + i];
        return value;
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// BITMAPFILEHEADER followed by BITMAPINFOHEADER, as stored.
struct BitmapHeader {
    std::uint32_t file_size = 0;
    std::uint32_t pixel_offset = 0;
    std::uint32_t info_size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits_per_pixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t image_size = 0;
    std::uint32_t colours_used = 0;
};

std::optional<BitmapHeader> ReadHeader(std::span<const std::uint8_t> bytes) {
    const LittleEndian le(bytes);
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    BitmapHeader h;
    h.file_size = le.Read(2, 4).value_or(0);
    h.pixel_offset = le.Read(10, 4).value_or(0);
    h.info_size = le.Read(14, 4).value_or(0);
    h.width = static_cast<std::int32_t>(le.Read(18, 4).value_or(0));
    h.height = static_cast<std::int32_t>(le.Read(22, 4).value_or(0));
    h.planes = le.Read(26, 2).value_or(0);
    h.bits_per_pixel = le.Read(28, 2).value_or(0);
    h.compression = le.Read(30, 4).value_or(0);
    h.image_size = le.Read(34, 4).value_or(0);
    h.colours_used = le.Read(46, 4).value_or(0);
    return h;
}

std::size_t RowStride(std::int32_t width) {
    return (static_cast<std::size_t>(width) + 3) & ~3u;
}

// An uncompressed bottom-up 8-bit picture resolved to colours, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<Rgb> pixels;

    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::optional<Picture> ReadPicture(std::span<const std::uint8_t> bytes) {
    const auto header = ReadHeader(bytes);
    constexpr std::int32_t kLargest = 4096;
    if (!header || header->info_size != kInfoHeaderSize || header->bits_per_pixel != 8 ||
        header->compression != 0 || header->width <= 0 || header->width > kLargest ||
        header->height <= 0 || header->height > kLargest) {
        return std::nullopt;
    }
    const std::size_t entries = header->colours_used == 0 ? kPaletteEntries : header->colours_used;
    const std::size_t palette_offset = kFileHeaderSize + kInfoHeaderSize;
    const std::size_t stride = RowStride(header->width);
    const std::size_t rows_size = stride * static_cast<std::size_t>(header->height);
    if (entries > kPaletteEntries || header->pixel_offset < palette_offset + 4 * entries ||
        header->pixel_offset > bytes.size() || rows_size > bytes.size() - header->pixel_offset) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = header->width;
    picture.height = header->height;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = palette_offset + 4 * i;
        picture.palette.push_back({bytes[at + 2], bytes[at + 1], bytes[at]});
    }
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto row = bytes.subspan(
            header->pixel_offset + stride * static_cast<std::size_t>(picture.height - 1 - y),
            picture.width);
        for (std::uint8_t index : row) {
            if (index >= entries) return std::nullopt;
            picture.pixels.push_back(picture.palette[index]);
        }
    }
    return picture;
}

std::vector<std::uint8_t> LoadFile(std::string_view name) {
    std::ifstream in(std::string(RESOURCES_DIR) + "/" + std::string(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SymbolFile(int n) {
    return "symbol" + std::to_string(n) + ".bmp";
}

class SymbolsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int n = 1; n <= kSymbolCount; ++n) {
            const auto picture = ReadPicture(LoadFile(SymbolFile(n)));
            ASSERT_TRUE(picture) << SymbolFile(n) << " is not a readable 8-bit bitmap";
            symbols_[n - 1] = *picture;
        }
    }

    static std::array<Picture, kSymbolCount> symbols_;
};

std::array<Picture, kSymbolCount> SymbolsTest::symbols_;

TEST(Pictures, EachIsAnUncompressedBottomUp8BitBitmapWithAFullPalette) {
    static const struct {
        const char* file;
        std::int32_t width;
        std::int32_t height;
    } cases[] = {
        {"background.bmp", 400, 300}, {"symbol1.bmp", 128, 128}, {"symbol2.bmp", 128, 128},
        {"symbol3.bmp", 128, 128},    {"symbol4.bmp", 128, 128}, {"symbol5.bmp", 128, 128},
        {"symbol6.bmp", 128, 128},    {"symbol7.bmp", 128, 128}, {"symbol8.bmp", 128, 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto bytes = LoadFile(c.file);
        const auto header = ReadHeader(bytes);
        ASSERT_TRUE(header) << "no bitmap file header";
        const std::size_t rows_size = RowStride(c.width) * c.height;
        EXPECT_EQ(header->file_size, bytes.size());
        EXPECT_EQ(header->pixel_offset, kPixelOffset);
        EXPECT_EQ(header->info_size, kInfoHeaderSize);
        EXPECT_EQ(header->width, c.width);
        EXPECT_EQ(header->height, c.height) << "rows must be stored bottom-up";
        EXPECT_EQ(header->planes, 1u);
        EXPECT_EQ(header->bits_per_pixel, 8u);
        EXPECT_EQ(header->compression, 0u);
        EXPECT_EQ(header->colours_used, kPaletteEntries);
        EXPECT_TRUE(header->image_size == 0 || header->image_size == rows_size)
            << "image size field " << header->image_size;
        EXPECT_EQ(bytes.size(), kPixelOffset + rows_size);
        EXPECT_TRUE(ReadPicture(bytes)) << "pixels do not decode";
    }
}

TEST(Pictures, BackgroundShowsAPictureBelowTheReels) {
    const auto background = ReadPicture(LoadFile("background.bmp"));
    ASSERT_TRUE(background);
    // The window shows the top 275 rows and the spinning reels hide rows 30..157, so the
    // bottle and the glass live in between; a flat or nearly flat band there means no art.
    std::vector<Rgb> seen;
    for (int y = 158; y < 275; ++y) {
        for (int x = 0; x < 394; ++x) {
            const Rgb c = background->At(x, y);
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
        }
    }
    EXPECT_GE(seen.size(), 32u);
}

TEST_F(SymbolsTest, StandOnTheGroundColourAllRoundTheirEdges) {
    for (int n = 1; n <= kSymbolCount; ++n) {
        SCOPED_TRACE(SymbolFile(n));
        const Picture& symbol = symbols_[n - 1];
        ASSERT_EQ(symbol.width, kSymbolSize);
        ASSERT_EQ(symbol.height, kSymbolSize);
        EXPECT_TRUE(std::ranges::find(symbol.palette, kGround) != symbol.palette.end())
            << "the ground colour is not in the palette";
        const int last = kSymbolSize - 1;
        int off_ground = 0;
        std::string first;
        for (int i = 0; i < kSymbolSize; ++i) {
            for (const auto& [x, y] :
                 {std::pair{i, 0}, std::pair{i, last}, std::pair{0, i}, std::pair{last, i}}) {
                if (symbol.At(x, y) == kGround || off_ground++ > 0) continue;
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                        ::testing::PrintToString(symbol.At(x, y));
            }
        }
        EXPECT_EQ(off_ground, 0) << "edge pixels off the ground colour, the first at " << first;
    }
}

TEST_F(SymbolsTest, CharacterFillsMostOfTheSquare) {
    for (int n = 1; n <= kSymbolCount; ++n) {
        SCOPED_TRACE(SymbolFile(n));
        const Picture& symbol = symbols_[n - 1];
        int left = symbol.width, right = -1, top = symbol.height, bottom = -1;
        for (int y = 0; y < symbol.height; ++y) {
            for (int x = 0; x < symbol.width; ++x) {
                if (symbol.At(x, y) == kGround) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        EXPECT_GE(right - left + 1, symbol.width * 2 / 3);
        EXPECT_GE(bottom - top + 1, symbol.height * 2 / 3);
    }
}

TEST_F(SymbolsTest, DifferFromEachOther) {
    for (int a = 0; a < kSymbolCount; ++a) {
        for (int b = a + 1; b < kSymbolCount; ++b) {
            const auto& pa = symbols_[a].pixels;
            const auto& pb = symbols_[b].pixels;
            ASSERT_EQ(pa.size(), pb.size());
            std::size_t differing = 0;
            for (std::size_t i = 0; i < pa.size(); ++i) differing += pa[i] != pb[i];
            // A copied or barely touched-up symbol would share almost every pixel.
            EXPECT_GE(differing, pa.size() / 10)
                << SymbolFile(a + 1) << " and " << SymbolFile(b + 1) << " are nearly the same";
        }
    }
}

// The checks above lean on this reader; a damaged file must read as nothing, not crash.
TEST(PictureReader, RejectsDamagedFiles) {
    const auto good = LoadFile("symbol1.bmp");
    ASSERT_TRUE(ReadPicture(good));
    const auto put32 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    static const struct {
        const char* label;
        std::size_t keep;   // bytes kept from the front of the file
        std::size_t field;  // offset of a 32-bit field to overwrite, 0 for none
        std::uint32_t value;
    } cases[] = {
        {"cut inside the headers", 40, 0, 0},
        {"cut inside the last row", kPixelOffset + 128 * 128 - 1, 0, 0},
        {"24 bits per pixel", SIZE_MAX, 28, 24},
        {"run-length compressed", SIZE_MAX, 30, 1},
        {"pixels said to start past the end", SIZE_MAX, 10, 0xFFFFFFF0},
        {"width too large to hold", SIZE_MAX, 18, 0x7FFFFFFF},
        {"palette longer than 256 entries", SIZE_MAX, 46, 257},
    };
    for (const auto& c : cases) {
        auto bytes = good;
        bytes.resize(std::min(c.keep, bytes.size()));
        if (c.field != 0) put32(bytes, c.field, c.value);
        EXPECT_FALSE(ReadPicture(bytes)) << c.label;
    }
}

}  // namespace
