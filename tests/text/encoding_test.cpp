#include "platform/text/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace platform::text {
namespace {

// Texts the game really shows, with their code page 932 bytes.
static const struct {
    const char* label;
    std::string_view cp932;
    std::string_view utf8;
} kGameTexts[] = {
    {"ok to quit", "\x82\x6e\x82\x6a\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x8f\x49\x97\xb9",
     "ＯＫを押すと終了"},
    {"title", "\x83\x7c\x83\x52\x83\x8a\x83\x93\x83\x5f\x81\x5b Ver1.0\x83\xc0",
     "ポコリンダー Ver1.0β"},
    {"in development", "\x8c\xbb\x8d\xdd\x81\x41\x8a\x4a\x94\xad\x92\x86\x82\xc5\x82\xb7\x81\x42",
     "現在、開発中です。"},
    {"half-width katakana", "\xce\xdf\xba", "ﾎﾟｺ"},
    {"ascii", "Score: 100 (x2)", "Score: 100 (x2)"},
    // Code page 932 keeps 0x5C and 0x7E as ASCII, unlike plain Shift JIS (yen, overline).
    {"backslash and tilde", "C:\\game\\~1", "C:\\game\\~1"},
    // Mappings that only code page 932 has: full-width tilde, NEC and IBM extensions.
    {"full-width tilde", "\x81\x60", "～"},
    {"nec circled digit", "\x87\x40", "①"},
    {"ibm roman numeral", "\xfa\x40", "ⅰ"},
    {"empty", "", ""},
};

TEST(Cp932Test, GameTextsConvertBothWays) {
    for (const auto& c : kGameTexts) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
        EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
    }
}

TEST(Cp932Test, BadBytesBecomeReplacementAndConversionGoesOn) {
    static const struct {
        const char* label;
        std::string_view cp932;
        std::string_view utf8;
    } cases[] = {
        {"lone lead byte at end", "OK\x82", "OK\uFFFD"},
        {"lone lead byte alone", "\x90", "\uFFFD"},
        {"lead byte before space", "\x82 A", "\uFFFD A"},
        {"lead byte before control", "\x82\x0a\x82\xa0", "\uFFFD\n\u3042"},
        // An unassigned pair is one character; an ASCII byte after a lead byte is kept.
        {"unassigned pair", "\x85\x80x", "\uFFFDx"},
        {"unassigned lead before ascii", "\x85\x40x", "\uFFFD@x"},
        {"undefined single bytes",
         "a\x80"
         "b\xa0"
         "c\xfd\xfe\xff",
         "a\uFFFDb\uFFFDc\uFFFD\uFFFD\uFFFD"},
        {"bad byte between texts", "\x90\xe0\xff\x96\xbe", "説\uFFFD明"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
    }
}

TEST(Cp932Test, UnmappableCharactersBecomeQuestionMarks) {
    static const struct {
        const char* label;
        std::string_view utf8;
        std::string_view cp932;
    } cases[] = {
        {"hangul", "a한b", "a?b"},
        {"emoji between kanji", "説😀明", "\x90\xe0?\x96\xbe"},
        {"accented latin", "caf\xc3\xa9", "caf?"},
        {"invalid utf-8", "x\xff\xc3y", "x??y"},
        {"truncated at end", "x\xe8\xaa", "x?"},
        {"yen sign takes the backslash byte", "\xc2\xa5", "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
    }
}

// Longer than the converter's output buffer in both directions, with a bad byte in the middle.
TEST(Cp932Test, LongTextCrossesConversionChunks) {
    std::string cp932;
    std::string utf8;
    for (int i = 0; i < 200; ++i) {
        cp932 += "\x90\xe0\x96\xbe";
        utf8 += "説明";
        if (i == 150) {
            cp932 += '\xff';
            utf8 += "\uFFFD";
        }
    }
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
    std::string back = cp932;
    back[back.find('\xff')] = '?';
    EXPECT_EQ(Utf8ToCp932(utf8), back);
}

TEST(Utf16Test, Converts) {
    static const struct {
        const char* label;
        std::u16string_view utf16;
        std::string_view utf8;
    } cases[] = {
        {"ascii", u"OK", "OK"},
        {"dialog text", u"説明", "説明"},
        {"two-byte utf-8", u"\u00e9\u03b2", "éβ"},
        {"surrogate pair", u"a\xd83d\xde00z", "a😀z"},
        {"last plane", u"\xdbff\xdfff", "\U0010FFFF"},
        {"high surrogate at end", u"ab\xd83d", "ab\uFFFD"},
        // The low surrogate after the view's end must not be paired with it.
        {"high surrogate at end of view", std::u16string_view(u"ab\xd83d\xde00", 3), "ab\uFFFD"},
        {"high surrogate before letter", u"\xd83dx", "\uFFFDx"},
        {"lone low surrogate", u"x\xde00y", "x\uFFFDy"},
        {"pair in wrong order", u"\xde00\xd83d", "\uFFFD\uFFFD"},
        {"two highs then low", u"\xd83d\xd83d\xde00", "\uFFFD😀"},
        {"nul kept", std::u16string_view(u"a\0b", 3), std::string_view("a\0b", 3)},
        {"empty", u"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

TEST(Utf8Test, DecodesToCodepoints) {
    static const struct {
        const char* label;
        std::string_view utf8;
        std::u32string_view want;
    } cases[] = {
        {"ascii", "Ab", U"Ab"},
        {"every length", "a\xc3\xa9\xe8\xaa\xac\xf0\x9f\x98\x80", U"aé説😀"},
        {"highest code point", "\xf4\x8f\xbf\xbf", U"\U0010FFFF"},
        {"lone continuation", "\x80x", U"\uFFFDx"},
        {"overlong two bytes", "\xc0\xaf", U"\uFFFD\uFFFD"},
        {"overlong three bytes", "\xe0\x80\xaf", U"\uFFFD\uFFFD\uFFFD"},
        {"surrogate", "\xed\xa0\x80", U"\uFFFD\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead bytes", "\xf5\xff", U"\uFFFD\uFFFD"},
        // A cut-short sequence is one replacement, and the byte that cut it is read again.
        {"truncated at end", "x\xe8\xaa", U"x\uFFFD"},
        {"truncated before ascii", "\xf0\x9f\x98x", U"\uFFFDx"},
        {"truncated before lead", "\xe8\xaa\xe8\xaa\xac", U"\uFFFD説"},
        {"empty", "", U""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf8ToCodepoints(c.utf8), c.want);
    }
}

}  // namespace
}  // namespace platform::text
