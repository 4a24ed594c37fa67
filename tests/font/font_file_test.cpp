#include "platform/gdi/font/font_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace platform::gdi::font_detail {
namespace {

std::filesystem::path TempFile(const std::string& name, const std::vector<char>& bytes) {
    const auto path =
        std::filesystem::path(::testing::TempDir()) / (name + "-" + std::to_string(getpid()));
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
    return path;
}

// FreeType seeks with a count of 0 and reads with the rest; a read must stop at the end of the
// file whatever it asks for, because FreeType trusts the count it gets back.
TEST(FontFileTest, ReadsStopAtTheEndOfTheFile) {
    const auto path = TempFile("font-file", {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    auto file = FontFile::Open(path.string());
    std::filesystem::remove(path);
    ASSERT_NE(file, nullptr);
    FT_Open_Args arguments = file->Arguments();
    FT_Stream stream = arguments.stream;
    ASSERT_EQ(arguments.flags, static_cast<FT_UInt>(FT_OPEN_STREAM));
    EXPECT_EQ(stream->size, 8u);

    struct Case {
        unsigned long offset;
        unsigned long count;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{
             {0, 8, "abcdefgh"}, {2, 3, "cde"}, {6, 10, "gh"}, {8, 4, ""}, {100, 4, ""}}) {
        std::string buffer(c.count, '\0');
        const unsigned long got = stream->read(
            stream, c.offset, reinterpret_cast<unsigned char*>(buffer.data()), c.count);
        EXPECT_EQ(buffer.substr(0, got), c.expected) << "offset " << c.offset;
    }
    EXPECT_EQ(stream->read(stream, 0, nullptr, 0), 0u);
    EXPECT_EQ(stream->read(stream, 8, nullptr, 0), 0u);
    EXPECT_NE(stream->read(stream, 9, nullptr, 0), 0u);
}

TEST(FontFileTest, OnlyNonEmptyRegularFilesOpen) {
    EXPECT_EQ(FontFile::Open("/nonexistent/font.ttf"), nullptr);
    EXPECT_EQ(FontFile::Open(::testing::TempDir()), nullptr);
    const auto empty = TempFile("font-empty", {});
    EXPECT_EQ(FontFile::Open(empty.string()), nullptr);
    std::filesystem::remove(empty);
}

}  // namespace
}  // namespace platform::gdi::font_detail
