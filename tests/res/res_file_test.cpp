#include "platform/res/res_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/res/byte_writer.h"
#include "tests/res/printers.h"

namespace platform::res {
namespace {

using res_test::ByteWriter;

std::vector<std::byte> Data(std::string_view text) {
    const auto bytes = std::as_bytes(std::span(text));
    return {bytes.begin(), bytes.end()};
}

void WriteName(ByteWriter& w, const ResName& name) {
    if (name.ordinal) {
        w.Ordinal(*name.ordinal);
    } else {
        w.Str(name.name);
    }
}

// One entry: header (with HeaderSize computed), data, padding.
void WriteEntry(ByteWriter& w, const ResName& type, const ResName& name, std::uint16_t language,
                std::span<const std::byte> data) {
    ByteWriter header;
    WriteName(header, type);
    WriteName(header, name);
    header.Align4().U32(0).U16(0x1030).U16(language).U32(0).U32(0);
    w.U32(static_cast<std::uint32_t>(data.size()))
        .U32(static_cast<std::uint32_t>(header.Size() + 8))
        .Append(header.Bytes())
        .Append(data)
        .Align4();
}

void WriteMarker(ByteWriter& w) {
    WriteEntry(w, ResName{0, {}}, ResName{0, {}}, 0, {});
}

ResName Ord(std::uint16_t id) {
    return ResName{id, {}};
}
ResName Named(std::u16string name) {
    return ResName{std::nullopt, std::move(name)};
}

TEST(ResFile, ReadsEntriesAfterTheMarkerWithSpansIntoTheInput) {
    ByteWriter w;
    WriteMarker(w);
    // Three data bytes: the next entry only parses if the padding after them is skipped.
    WriteEntry(w, Ord(2), Ord(7), 0x0411, Data("abc"));
    WriteEntry(w, Named(u"PNG"), Named(u"LOGO"), 0x0409, Data("hello"));
    const auto& bytes = w.Bytes();

    const auto file = ResourceFile::Parse(bytes);
    EXPECT_FALSE(file.Truncated());
    ASSERT_EQ(file.All().size(), 2u);

    const Resource& first = file.All()[0];
    EXPECT_EQ(first.type, Ord(2));
    EXPECT_EQ(first.name, Ord(7));
    EXPECT_EQ(first.language, 0x0411);
    EXPECT_EQ(first.memory_flags, 0x1030);
    EXPECT_EQ(first.data.data(), bytes.data() + 64);
    EXPECT_EQ(first.data.size(), 3u);

    const Resource& second = file.All()[1];
    EXPECT_EQ(second.type, Named(u"PNG"));
    EXPECT_EQ(second.name, Named(u"LOGO"));
    EXPECT_EQ(second.language, 0x0409);
    const auto hello = Data("hello");
    EXPECT_TRUE(std::equal(second.data.begin(), second.data.end(), hello.begin(), hello.end()));
    EXPECT_EQ(second.data.data() + second.data.size(), bytes.data() + bytes.size() - 3);
}

TEST(ResFile, LastEntryMayEndWithoutPaddingAndEmptyInputHasNoEntries) {
    ByteWriter w;
    WriteMarker(w);
    WriteEntry(w, Ord(2), Ord(1), 0, Data("abcde"));
    std::vector<std::byte> unpadded = w.Bytes();
    unpadded.erase(unpadded.end() - 3, unpadded.end());

    const auto file = ResourceFile::Parse(unpadded);
    EXPECT_FALSE(file.Truncated());
    ASSERT_EQ(file.All().size(), 1u);
    EXPECT_EQ(file.All()[0].data.size(), 5u);

    const auto empty = ResourceFile::Parse({});
    EXPECT_FALSE(empty.Truncated());
    EXPECT_TRUE(empty.All().empty());
}

TEST(ResFile, FindPrefersTheLanguageElseTheFirstOfAnyLanguage) {
    ByteWriter w;
    WriteMarker(w);
    WriteEntry(w, Ord(2), Ord(7), 0x0409, Data("a"));
    WriteEntry(w, Ord(2), Ord(7), 0x0411, Data("b"));
    WriteEntry(w, Ord(2), Ord(7), 0x0407, Data("c"));
    WriteEntry(w, Ord(5), Ord(8), 0x0411, Data("d"));
    WriteEntry(w, Named(u"X"), Named(u"Y"), 0x0411, Data("e"));
    const auto file = ResourceFile::Parse(w.Bytes());
    ASSERT_EQ(file.All().size(), 5u);
    const auto all = file.All();

    static const struct {
        const char* label;
        std::uint16_t type, id, language;
        int expected;  // index into All(), -1 for none
    } cases[] = {
        {"exact language, not the first", 2, 7, 0x0411, 1},
        {"exact language, last of three", 2, 7, 0x0407, 2},
        {"other language falls back to the first", 2, 7, 0x0000, 0},
        {"id matches another type only", 2, 8, 0x0411, -1},
        {"type matches another id only", 5, 7, 0x0411, -1},
        {"numeric lookup does not match names", 0, 0, 0x0411, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Resource* expected = c.expected < 0 ? nullptr : &all[c.expected];
        EXPECT_EQ(file.Find(c.type, c.id, c.language), expected);
    }
}

TEST(ResFile, StopsAtTheFirstMalformedEntryKeepingTheOnesBefore) {
    static const struct {
        const char* label;
        void (*tail)(ByteWriter&);
    } cases[] = {
        {"header cut inside the sizes", [](ByteWriter& w) { w.U32(0).U16(32); }},
        {"stray word after the last entry", [](ByteWriter& w) { w.U32(0); }},
        {"header size past the end",
         [](ByteWriter& w) { w.U32(0).U32(0x100).Ordinal(2).Ordinal(1).U32(0).U32(0).U32(0); }},
        {"header size near 4 GiB",
         [](ByteWriter& w) {
             w.U32(0).U32(0xFFFFFFF0).Ordinal(2).Ordinal(1).U32(0).U32(0).U32(0).U32(0);
         }},
        {"header size too small for its fields",
         [](ByteWriter& w) {
             w.U32(0).U32(16).Ordinal(2).Ordinal(1).U32(0).U16(0).U16(0).U32(0).U32(0);
         }},
        // The zeros after the header must not end the name: it has to end inside the header.
        {"type name without terminator inside the header",
         [](ByteWriter& w) {
             w.U32(0).U32(32);
             for (int i = 0; i < 12; ++i) w.U16(u'A');
             w.U32(0).U32(0);
         }},
        {"data runs past the end",
         [](ByteWriter& w) {
             w.U32(100).U32(32).Ordinal(2).Ordinal(1).U32(0).U16(0).U16(0).U32(0).U32(0);
             w.U32(0).U32(0);
         }},
        {"data size near 4 GiB",
         [](ByteWriter& w) {
             w.U32(0xFFFFFFFF).U32(32).Ordinal(2).Ordinal(1).U32(0).U16(0).U16(0).U32(0).U32(0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ByteWriter w;
        WriteMarker(w);
        WriteEntry(w, Ord(2), Ord(101), 0x0411, Data("pixels"));
        c.tail(w);
        const auto file = ResourceFile::Parse(w.Bytes());
        EXPECT_TRUE(file.Truncated());
        ASSERT_EQ(file.All().size(), 1u);
        EXPECT_EQ(file.All()[0].name, Ord(101));
    }
}

TEST(ResFile, EveryCutOfAFileKeepsOnlyWholeEntriesInsideIt) {
    ByteWriter w;
    WriteMarker(w);
    WriteEntry(w, Named(u"TYPE"), Ord(1), 0x0411, Data("first"));
    const std::size_t first_end = w.Size();
    WriteEntry(w, Ord(2), Named(u"NAME"), 0x0411, Data("second!!"));
    const auto& full = w.Bytes();

    // The first entry's data ends 3 bytes before its padding does.
    const std::size_t first_data_end = first_end - 3;
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        const auto prefix = std::span(full).first(length);
        const auto file = ResourceFile::Parse(prefix);
        const bool whole_first = length >= first_data_end;
        const bool at_boundary =
            length == 0 || length == 32 || (whole_first && length <= first_end);
        EXPECT_EQ(file.Truncated(), !at_boundary);
        EXPECT_EQ(file.All().size(), whole_first ? 1u : 0u);
        for (const Resource& r : file.All()) {
            EXPECT_LE(r.data.data() + r.data.size(), prefix.data() + prefix.size());
        }
    }
}

}  // namespace
}  // namespace platform::res
