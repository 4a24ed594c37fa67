// wsprintfA, and the text of windows in code page 932.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/harness.h"

namespace ptest {
namespace {

// --- wsprintfA --------------------------------------------------------------------------

struct FormatCase {
    const char* label;
    std::string expected;
    int (*format)(char* buffer);
};

#define FORMAT_CASE(expected, ...)                                                          \
    {                                                                                       \
#__VA_ARGS__, expected, [](char* buffer) { return wsprintfA(buffer, __VA_ARGS__); } \
    }

TEST(Wsprintf, FormatsEachConversion) {
    static const FormatCase cases[] = {
        FORMAT_CASE("-42", "%d", -42),
        FORMAT_CASE("2147483647", "%i", INT_MAX),
        FORMAT_CASE("-2147483648", "%d", INT_MIN),
        FORMAT_CASE("4000000000", "%u", 4000000000u),
        FORMAT_CASE("4294967295", "%u", -1),
        FORMAT_CASE("beef", "%x", 0xBEEF),
        FORMAT_CASE("BEEF", "%X", 0xBEEF),
        FORMAT_CASE("ffffffff", "%x", -1),
        FORMAT_CASE("0", "%x", 0),
        FORMAT_CASE("Z", "%c", 'Z'),
        FORMAT_CASE("abc", "%s", "abc"),
        FORMAT_CASE("100%", "100%%"),
        FORMAT_CASE("a=1, b=two", "a=%d, b=%s", 1, "two"),
        FORMAT_CASE("[   42]", "[%5d]", 42),
        FORMAT_CASE("[42   ]", "[%-5d]", 42),
        FORMAT_CASE("[00042]", "[%05d]", 42),
        FORMAT_CASE("[-0042]", "[%05d]", -42),
        FORMAT_CASE("[42   ]", "[%-05d]", 42),
        FORMAT_CASE("[0000BEEF]", "[%08X]", 0xBEEF),
        FORMAT_CASE("[  -42]", "[%5d]", -42),
        FORMAT_CASE("[42]", "[%1d]", 42),
        FORMAT_CASE("[  a]", "[%3c]", 'a'),
        FORMAT_CASE("[   ab]", "[%5s]", "ab"),
        FORMAT_CASE("[ab   ]", "[%-5s]", "ab"),
        FORMAT_CASE("[abc]", "[%.3s]", "abcdef"),
        FORMAT_CASE("[]", "[%.0s]", "abcdef"),
        FORMAT_CASE("[ab]", "[%.5s]", "ab"),
        FORMAT_CASE("[   ab]", "[%5.2s]", "abcdef"),
        FORMAT_CASE("[ab   ]", "[%-5.2s]", "abcdef"),
        FORMAT_CASE("-100000", "%ld", static_cast<LONG>(-100000)),
        FORMAT_CASE("4000000000", "%lu", static_cast<DWORD>(4000000000u)),
        FORMAT_CASE("deadbeef", "%lx", static_cast<DWORD>(0xDEADBEEF)),
        FORMAT_CASE("4464", "%hd", 70000),
        FORMAT_CASE("-1", "%hd", 0xFFFF),
        FORMAT_CASE("1", "%hu", 65537),
        FORMAT_CASE("2345", "%hx", 0x12345),
        // Code page 932 text without conversions passes byte for byte, trail bytes included
        // that look like '\\' (0x5C) or like lead bytes (0x81).
        FORMAT_CASE("\x95\x5C\x8E\xA6\x81\x81\x83\x5C", "\x95\x5C\x8E\xA6\x81\x81\x83\x5C"),
        FORMAT_CASE("\x83\x7C\x83\x52 7 \x83\x5C", "\x83\x7C\x83\x52 %d \x83\x5C", 7),
        FORMAT_CASE("\x83\x65\x83\x58\x83\x67", "%s", "\x83\x65\x83\x58\x83\x67"),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        char buffer[64];
        std::memset(buffer, 0x7F, sizeof buffer);
        const int n = c.format(buffer);
        EXPECT_EQ(n, static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(buffer, std::min<std::size_t>(std::strlen(buffer), 63)), c.expected);
    }
}

TEST(Wsprintf, NeverWritesMoreThan1024Bytes) {
    static const std::string a2000(2000, 'a');
    static const std::string a1023(1023, 'a');
    static const std::string a1020(1020, 'a');
    static const std::string literal = std::string(2000, 'b');
    static const FormatCase cases[] = {
        FORMAT_CASE(a1023, "%s", a2000.c_str()),
        FORMAT_CASE(a1023, "%s", a1023.c_str()),
        FORMAT_CASE(std::string(1023, 'b'), literal.c_str()),
        FORMAT_CASE(std::string(1023, ' '), "%2000d", 5),
        FORMAT_CASE(std::string(1023, '0'), "%02000d", 5),
        FORMAT_CASE(a1020 + "123", "%s%d", a1020.c_str(), 123456),
        FORMAT_CASE(a1020 + "%%%", "%s%%%%%%%%%%", a1020.c_str()),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<char> buffer(1200, 0x7F);
        const int n = c.format(buffer.data());
        EXPECT_EQ(n, 1023);
        EXPECT_EQ(std::string(buffer.data(), 1023), c.expected);
        EXPECT_EQ(buffer[1023], '\0');
        EXPECT_EQ(std::count(buffer.begin() + 1024, buffer.end(), 0x7F), 1200 - 1024)
            << "written past 1024 bytes";
    }
}

#undef FORMAT_CASE

// --- Window text ------------------------------------------------------------------------

HWND textWindow;

int WINAPI TextProg(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Text", DefWindowProcA);
    textWindow = CreateWindowExA(0, "Text", "", kFramed, 0, 0, 200, 100, nullptr, nullptr, instance,
                                 nullptr);
    return 0;
}

// Runs `check` against a window of the program, while the program is still running.
void WithWindow(void (*check)(HWND)) {
    static void (*pending)(HWND);
    pending = check;
    HeadlessBackend display;
    platform::Run(display, {},
                  [](HINSTANCE instance, HINSTANCE previous, LPSTR line, int show) -> int {
                      TextProg(instance, previous, line, show);
                      pending(textWindow);
                      DestroyWindow(textWindow);
                      return 0;
                  });
}

TEST(WindowText, Cp932RoundTripsAndReadsAsTheRightCharacters) {
    WithWindow([](HWND window) {
        static const struct {
            const char* label;
            const char* cp932;
            const char* utf8;
        } cases[] = {
            {"kana and kanji", "\x83\x7C\x83\x52\x83\x8A\x83\x93\x83\x5F\x81\x5B\x95\x5C\x8E\xA6",
             "ポコリンダー表示"},
            {"0x5C as a trail byte", "\x83\x5C\x95\x5C", "ソ表"},
            {"0x5C alone is a backslash", "a\\b", "a\\b"},
            {"wave dash of code page 932", "\x81\x60", "～"},
            {"full-width reverse solidus", "\x81\x5F", "＼"},
            {"half-width katakana", "\xB1\xB2\xB3", "ｱｲｳ"},
            {"circled digit", "\x87\x40", "①"},
            {"extended kanji", "\xFB\xFC", "髙"},
            {"mixed with ASCII", "Ver1.0\x83\xC0", "Ver1.0β"},
            {"empty", "", ""},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.label);
            EXPECT_TRUE(SetWindowTextA(window, c.cp932));
            char buffer[64];
            const int n = GetWindowTextA(window, buffer, sizeof buffer);
            EXPECT_EQ(n, static_cast<int>(std::strlen(c.cp932)));
            EXPECT_STREQ(buffer, c.cp932);
            EXPECT_EQ(platform::observe::Describe(window)->text, c.utf8);
        }
    });
}

TEST(WindowText, GetWindowTextNeverOverrunsNorSplitsACharacter) {
    WithWindow([](HWND window) {
        static const struct {
            const char* label;
            const char* cp932;
            std::vector<int> boundaries;  // where whole characters end
        } cases[] = {
            {"ASCII then double-byte", "a\x83\x65\x83\x58\x83\x67", {0, 1, 3, 5, 7}},
            {"half-width kana is one byte",
             "\xB1\x83\x65"
             "a",
             {0, 1, 3, 4}},
            {"trail bytes that look like lead bytes", "\x81\x81\x81\x81", {0, 2, 4}},
            {"a trail byte 0x5C",
             "\x95\x5C"
             "a",
             {0, 2, 3}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.label);
            ASSERT_TRUE(SetWindowTextA(window, c.cp932));
            const int length = static_cast<int>(std::strlen(c.cp932));
            for (int size = 0; size <= length + 2; ++size) {
                SCOPED_TRACE("buffer of " + std::to_string(size));
                int expected = 0;
                for (int b : c.boundaries)
                    if (b <= size - 1) expected = b;
                std::vector<char> buffer(32, 0x7F);
                const int n = GetWindowTextA(window, buffer.data(), size);
                EXPECT_EQ(n, expected);
                if (size > 0) {
                    EXPECT_EQ(std::string(buffer.data(), n), std::string(c.cp932, n));
                    EXPECT_EQ(buffer[n], '\0');
                }
                EXPECT_EQ(std::count(buffer.begin() + size, buffer.end(), 0x7F), 32 - size)
                    << "written past the buffer";
            }
        }
    });
}

}  // namespace
}  // namespace ptest
