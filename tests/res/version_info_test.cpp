#include "platform/res/version_info.h"

#include <gtest/gtest.h>

#include "tests/res/byte_writer.h"

namespace platform::res {
namespace {

using res_test::ByteWriter;
using Bytes = std::vector<std::byte>;

// A block laid out as the record stores it: wLength counts up to the end of the last child,
// not the padding after it. Built on its own, it aligns as it will inside its parent, since
// every block starts on a DWORD boundary.
Bytes Block(std::u16string_view key, std::uint16_t type, std::uint16_t value_length,
            const Bytes& value, const std::vector<Bytes>& children = {}) {
    ByteWriter w;
    w.U16(0).U16(value_length).U16(type).Str(key).Align4().Append(value);
    for (const Bytes& child : children) w.Align4().Append(child);
    w.PatchU16(0, static_cast<std::uint16_t>(w.Size()));
    return w.Bytes();
}

Bytes Text(std::u16string_view text) {
    return ByteWriter().Str(text).Bytes();
}

// A string entry whose stored length counts the terminator or not.
Bytes StringEntry(std::u16string_view key, std::u16string_view value, bool counts_terminator) {
    const auto units = static_cast<std::uint16_t>(value.size() + (counts_terminator ? 1 : 0));
    return Block(key, 1, units, Text(value));
}

Bytes Fixed(std::uint32_t signature = 0xFEEF04BD) {
    ByteWriter w;
    w.U32(signature).U32(0x00010000);
    w.U32(0x00020003).U32(0x00040005).U32(0x00060007).U32(0x00080009);
    w.U32(0x3F).U32(0x1).U32(0x00040004).U32(2).U32(3).U32(0).U32(0);
    return w.Bytes();
}

Bytes Translation(std::vector<std::uint32_t> values, std::size_t drop = 0) {
    ByteWriter w;
    for (std::uint32_t v : values) w.U32(v);
    Bytes value = w.Bytes();
    value.erase(value.end() - static_cast<std::ptrdiff_t>(drop), value.end());
    return Block(u"Translation", 0, static_cast<std::uint16_t>(value.size()), value);
}

Bytes Root(const std::vector<Bytes>& children, const Bytes& fixed = Fixed()) {
    return Block(u"VS_VERSION_INFO", 0, static_cast<std::uint16_t>(fixed.size()), fixed, children);
}

Bytes SampleRecord() {
    return Root({
        Block(u"StringFileInfo", 1, 0, {},
              {Block(u"040904b0", 1, 0, {},
                     {StringEntry(u"CompanyName", u"Maker", true),
                      StringEntry(u"FileVersion", u"2.3", false), Block(u"Comments", 1, 0, {})}),
               Block(u"041104b0", 1, 0, {}, {StringEntry(u"ProductName", u"Game", true)})}),
        Block(u"Unknown", 0, 4, Bytes(4, std::byte{0x55}),
              {Block(u"StringFileInfo", 1, 0, {}, {Block(u"000004b0", 1, 0, {})})}),
        Block(u"VarFileInfo", 1, 0, {}, {Translation({0x04B00409, 0x04B00411})}),
    });
}

TEST(ResVersion, ParsesFixedInfoStringTablesAndTranslations) {
    const auto info = ParseVersionInfo(SampleRecord());
    ASSERT_TRUE(info.has_value());

    ASSERT_TRUE(info->fixed.has_value());
    const FixedFileInfo& fixed = *info->fixed;
    EXPECT_EQ(fixed.FileVersion(), (std::array<std::uint16_t, 4>{2, 3, 4, 5}));
    EXPECT_EQ(fixed.ProductVersion(), (std::array<std::uint16_t, 4>{6, 7, 8, 9}));
    EXPECT_EQ(fixed.flags_mask, 0x3Fu);
    EXPECT_EQ(fixed.flags, 0x1u);
    EXPECT_EQ(fixed.os, 0x00040004u);
    EXPECT_EQ(fixed.type, 2u);
    EXPECT_EQ(fixed.subtype, 3u);

    ASSERT_EQ(info->string_tables.size(), 2u);
    const StringTable* english = info->FindTable(u"040904b0");
    ASSERT_NE(english, nullptr);
    const std::vector<std::pair<std::u16string, std::u16string>> expected = {
        {u"CompanyName", u"Maker"}, {u"FileVersion", u"2.3"}, {u"Comments", u""}};
    EXPECT_EQ(english->strings, expected);
    const StringTable* japanese = info->FindTable(u"041104b0");
    ASSERT_NE(japanese, nullptr);
    ASSERT_NE(japanese->Find(u"ProductName"), nullptr);
    EXPECT_EQ(*japanese->Find(u"ProductName"), u"Game");
    EXPECT_EQ(japanese->Find(u"CompanyName"), nullptr);
    // The StringFileInfo nested in the unknown block is not the record's.
    EXPECT_EQ(info->FindTable(u"000004b0"), nullptr);

    EXPECT_EQ(info->translations, (std::vector<std::uint32_t>{0x04B00409, 0x04B00411}));
}

TEST(ResVersion, RecordWithoutFixedInfo) {
    const auto info = ParseVersionInfo(Root({}, {}));
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->fixed.has_value());
    EXPECT_TRUE(info->string_tables.empty());
}

TEST(ResVersion, RejectsLengthsThatDoNotFitTheirParent) {
    static const struct {
        const char* label;
        Bytes (*record)();
    } cases[] = {
        {"empty", [] { return Bytes{}; }},
        {"root longer than the data",
         [] {
             Bytes r = Root({});
             r.erase(r.end() - 4, r.end());
             return r;
         }},
        {"root key is not VS_VERSION_INFO", [] { return Block(u"VS_VERSION", 0, 52, Fixed()); }},
        {"fixed info with a wrong signature", [] { return Root({}, Fixed(0xFEEF04BC)); }},
        {"fixed info of the wrong size",
         [] {
             Bytes fixed = Fixed();
             fixed.erase(fixed.begin() + 40, fixed.end());
             return Root({}, fixed);
         }},
        {"child longer than its parent",
         [] {
             Bytes child = Block(u"VarFileInfo", 1, 0, {}, {Translation({1})});
             Bytes parent = Block(u"StringFileInfo", 1, 0, {}, {child});
             // Grow the child by 8: it now runs past its parent though not past the record.
             const std::size_t at = parent.size() - child.size();
             parent[at] = std::byte{static_cast<unsigned char>(child.size() + 8)};
             return Root({parent, Block(u"Padding", 0, 0, {}, {Block(u"P", 0, 0, {})})});
         }},
        {"zero-length child",
         [] {
             Bytes child = Block(u"VarFileInfo", 1, 0, {});
             child[0] = std::byte{0};
             return Root({child});
         }},
        {"key without terminator inside its block",
         [] {
             // The block ends just before the key's terminator, which still follows in the
             // parent.
             Bytes table = Block(u"040904b0", 1, 0, {});
             table[0] = std::byte{22};
             return Root({Block(u"StringFileInfo", 1, 0, {}, {table})});
         }},
        {"string value longer than its block",
         [] {
             Bytes entry = StringEntry(u"Key", u"value", true);
             entry[2] = std::byte{40};  // wValueLength in UTF-16 units
             // A block after it keeps the value's bytes inside the record.
             return Root(
                 {Block(u"StringFileInfo", 1, 0, {}, {Block(u"040904b0", 1, 0, {}, {entry})}),
                  Block(u"Padding", 0, 80, Bytes(80))});
         }},
        {"translation not in whole DWORDs",
         [] {
             return Root({Block(u"VarFileInfo", 1, 0, {}, {Translation({1, 2}, 2)})});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(ParseVersionInfo(c.record()).has_value());
    }
    EXPECT_TRUE(ParseVersionInfo(SampleRecord()).has_value());
}

TEST(ResVersion, EveryCutOfARecordIsRejected) {
    const auto full = SampleRecord();
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(ParseVersionInfo(std::span(full).first(length)).has_value());
    }
}

}  // namespace
}  // namespace platform::res
