// Reads the program's own compiled resource file, as the build embeds it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/res/dialog_template.h"
#include "platform/res/dib.h"
#include "platform/res/res_file.h"
#include "platform/res/version_info.h"
#include "tests/res/printers.h"

namespace platform::res {
namespace {

constexpr std::uint16_t kJapanese = 0x0411;

std::vector<std::byte> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> chars{std::istreambuf_iterator<char>(in), {}};
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

const std::vector<std::byte>& AppRes() {
    static const std::vector<std::byte> bytes = ReadWholeFile(APP_RES_PATH);
    return bytes;
}

const ResourceFile& File() {
    static const ResourceFile file = ResourceFile::Parse(AppRes());
    return file;
}

std::span<const std::byte> DataOf(std::uint16_t type, std::uint16_t id) {
    const Resource* resource = File().Find(type, id, kJapanese);
    return resource ? resource->data : std::span<const std::byte>{};
}

ResName Ord(std::uint16_t id) {
    return ResName{id, {}};
}

const struct {
    std::uint16_t id;
    const char* file;
    int width, height;
} kBitmaps[] = {
    {101, "background.bmp", 400, 300}, {112, "symbol1.bmp", 128, 128},
    {113, "symbol2.bmp", 128, 128},    {114, "symbol3.bmp", 128, 128},
    {115, "symbol4.bmp", 128, 128},    {116, "symbol5.bmp", 128, 128},
    {117, "symbol6.bmp", 128, 128},    {118, "symbol7.bmp", 128, 128},
    {119, "symbol8.bmp", 128, 128},
};

TEST(ResCompiled, HoldsTheBitmapsTheDialogAndTheVersionRecordInJapanese) {
    ASSERT_FALSE(AppRes().empty()) << APP_RES_PATH;
    EXPECT_FALSE(File().Truncated());

    std::vector<std::pair<ResName, ResName>> expected;
    for (const auto& bitmap : kBitmaps) {
        expected.emplace_back(Ord(resource_type::kBitmap), Ord(bitmap.id));
    }
    expected.emplace_back(Ord(resource_type::kDialog), Ord(122));
    expected.emplace_back(Ord(resource_type::kVersion), Ord(1));

    std::vector<std::pair<ResName, ResName>> found;
    for (const Resource& resource : File().All()) {
        found.emplace_back(resource.type, resource.name);
        EXPECT_EQ(resource.language, kJapanese);
    }
    EXPECT_EQ(found, expected);
}

TEST(ResCompiled, BitmapsDecodeAsTheirSourceFilesDo) {
    for (const auto& bitmap : kBitmaps) {
        SCOPED_TRACE(bitmap.file);
        const auto dib = DataOf(resource_type::kBitmap, bitmap.id);
        const auto header = ReadDibHeader(dib);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->bit_count, 8);
        EXPECT_EQ(header->palette_size, 256u);
        EXPECT_EQ(header->width, bitmap.width);
        EXPECT_EQ(header->height, bitmap.height);

        const auto image = DecodeDib(dib);
        ASSERT_TRUE(image.has_value());
        // A .bmp file is the same bitmap behind a 14-byte file header.
        const auto file = ReadWholeFile(std::string(RESOURCES_DIR "/") + bitmap.file);
        ASSERT_GT(file.size(), 14u);
        const auto from_file = DecodeDib(std::span(file).subspan(14));
        ASSERT_TRUE(from_file.has_value());
        EXPECT_TRUE(*image == *from_file);
    }
}

TEST(ResCompiled, AboutDialogMatchesTheScript) {
    const auto dialog = ParseDialogTemplate(DataOf(resource_type::kDialog, 122));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->style, 0x80C000C0u);
    EXPECT_EQ(dialog->ex_style, 0u);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 116);
    EXPECT_EQ(dialog->cy, 71);
    EXPECT_TRUE(dialog->menu.IsNone());
    EXPECT_TRUE(dialog->window_class.IsNone());
    EXPECT_EQ(dialog->title, u"説明");
    EXPECT_EQ(dialog->font, (DialogFont{11, u"ＭＳ ゴシック"}));

    const ResName button = Ord(control_class::kButton);
    const ResName text = Ord(control_class::kStatic);
    const auto item = [](std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx,
                         std::int16_t cy, std::uint16_t id, ResName window_class,
                         std::u16string title) {
        return DialogItem{style,
                          0,
                          x,
                          y,
                          cx,
                          cy,
                          id,
                          std::move(window_class),
                          ResName{std::nullopt, std::move(title)}};
    };
    const std::vector<DialogItem> expected = {
        item(0x50010001, 36, 50, 50, 14, 1, button, u"OK"),
        item(0x50020000, 13, 7, 96, 10, 0xFFFF, text, u"ポコリンダー Ver1.0β"),
        item(0x50020000, 66, 20, 21, 8, 0xFFFF, text, u"ＲＫ"),
        item(0x50020000, 16, 20, 43, 8, 0xFFFF, text, u"2000/11/05"),
        item(0x50020000, 29, 36, 69, 8, 0xFFFF, text, u"現在、開発中です。"),
    };
    ASSERT_EQ(dialog->items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialog->items[i], expected[i]);
    }
}

TEST(ResCompiled, VersionRecordMatchesTheScript) {
    const auto info = ParseVersionInfo(DataOf(resource_type::kVersion, 1));
    ASSERT_TRUE(info.has_value());
    ASSERT_TRUE(info->fixed.has_value());
    const std::array<std::uint16_t, 4> v1001 = {1, 0, 0, 1};
    EXPECT_EQ(info->fixed->FileVersion(), v1001);
    EXPECT_EQ(info->fixed->ProductVersion(), v1001);
    EXPECT_EQ(info->fixed->type, 1u);

    const StringTable* table = info->FindTable(u"041104b0");
    ASSERT_NE(table, nullptr);
    static const struct {
        const char* label;
        const char16_t* key;
        const char16_t* value;
    } strings[] = {
        {"FileDescription", u"FileDescription", u"ポコリンダー Ver1.0β"},
        {"ProductName", u"ProductName", u"ポコリンダー Ver1.0β"},
        {"CompanyName", u"CompanyName", u"ＲＫ"},
        {"FileVersion", u"FileVersion", u"1, 0, 0, 1"},
        {"ProductVersion", u"ProductVersion", u"1, 0, 0, 1"},
    };
    for (const auto& s : strings) {
        SCOPED_TRACE(s.label);
        const std::u16string* value = table->Find(s.key);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, std::u16string(s.value));
    }
    EXPECT_EQ(info->translations, std::vector<std::uint32_t>{0x04B00411});
}

}  // namespace
}  // namespace platform::res
