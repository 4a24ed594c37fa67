#include "platform/res/dialog_template.h"

#include <gtest/gtest.h>

#include "tests/res/byte_writer.h"
#include "tests/res/printers.h"

namespace platform::res {
namespace {

using res_test::ByteWriter;

ResName Ord(std::uint16_t id) {
    return ResName{id, {}};
}
ResName Named(std::u16string name) {
    return ResName{std::nullopt, std::move(name)};
}

void WriteName(ByteWriter& w, const ResName& name) {
    if (name.ordinal) {
        w.Ordinal(*name.ordinal);
    } else {
        w.Str(name.name);
    }
}

void WriteItem(ByteWriter& w, const DialogItem& item) {
    w.Align4().U32(item.style).U32(item.ex_style);
    w.I16(item.x).I16(item.y).I16(item.cx).I16(item.cy).U16(item.id);
    WriteName(w, item.window_class);
    WriteName(w, item.title);
    w.U16(static_cast<std::uint16_t>(item.creation_data.size())).Append(item.creation_data);
}

// Strings of odd and even lengths, so that an item only lands on its DWORD boundary if the
// reader aligns.
const std::vector<DialogItem>& SampleItems() {
    static const std::vector<DialogItem> items = {
        {0x50010000,
         0x200,
         -3,
         4,
         50,
         14,
         0x1234,
         Named(u"CustomCtl"),
         Ord(7),
         {std::byte{1}, std::byte{2}, std::byte{3}}},
        {0x50800080, 0, 10, 20, 30, 12, 0xFFFF, Ord(control_class::kEdit), Named(u"abc"), {}},
        {0x50000000, 0, 0, 0, 1, 1, 9, Ord(control_class::kStatic), Named(u""), {}},
    };
    return items;
}

std::vector<std::byte> SampleDialog() {
    ByteWriter w;
    w.U32(0x80C80000 | kDsSetFont).U32(0x8).U16(3).I16(-5).I16(6).I16(200).I16(100);
    w.Ordinal(0x42).Str(u"MyDlg").Str(u"Title");
    w.U16(9).Str(u"Face");
    for (const DialogItem& item : SampleItems()) WriteItem(w, item);
    return w.Bytes();
}

TEST(ResDialog, ParsesEveryFieldOfAStandardTemplate) {
    const auto dialog = ParseDialogTemplate(SampleDialog());
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->style, 0x80C80000 | kDsSetFont);
    EXPECT_EQ(dialog->ex_style, 0x8u);
    EXPECT_EQ(dialog->x, -5);
    EXPECT_EQ(dialog->y, 6);
    EXPECT_EQ(dialog->cx, 200);
    EXPECT_EQ(dialog->cy, 100);
    EXPECT_EQ(dialog->menu, Ord(0x42));
    EXPECT_EQ(dialog->window_class, Named(u"MyDlg"));
    EXPECT_EQ(dialog->title, u"Title");
    EXPECT_EQ(dialog->font, (DialogFont{9, u"Face"}));
    EXPECT_EQ(dialog->items, SampleItems());
}

TEST(ResDialog, WithoutSetFontTheBytesAfterTheTitleAreTheFirstItem) {
    ByteWriter w;
    w.U32(0x80C80000).U32(0).U16(1).I16(0).I16(0).I16(10).I16(10);
    w.U16(0).U16(0).Str(u"T");
    WriteItem(w, SampleItems()[1]);
    const auto dialog = ParseDialogTemplate(w.Bytes());
    ASSERT_TRUE(dialog.has_value());
    EXPECT_TRUE(dialog->menu.IsNone());
    EXPECT_TRUE(dialog->window_class.IsNone());
    EXPECT_FALSE(dialog->font.has_value());
    ASSERT_EQ(dialog->items.size(), 1u);
    EXPECT_EQ(dialog->items[0], SampleItems()[1]);
}

TEST(ResDialog, RejectsMalformedTemplates) {
    static const struct {
        const char* label;
        void (*write)(ByteWriter&);
    } cases[] = {
        {"empty", [](ByteWriter&) {}},
        {"header cut short", [](ByteWriter& w) { w.U32(0x80C80000).U32(0).U16(0); }},
        {"extended form",
         [](ByteWriter& w) {
             w.U16(1).U16(0xFFFF).U32(0).U32(0).U32(0x80C80000).U16(0);
             w.I16(0).I16(0).I16(10).I16(10).U16(0).U16(0).U16(0);
         }},
        {"menu ordinal without its word",
         [](ByteWriter& w) { w.U32(0).U32(0).U16(0).I16(0).I16(0).I16(1).I16(1).U16(0xFFFF); }},
        {"title without terminator",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(0).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0);
             w.U16(u'T').U16(u'i');
         }},
        {"font without its point size",
         [](ByteWriter& w) {
             w.U32(kDsSetFont).U32(0).U16(0).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).Str(u"T");
         }},
        {"face without terminator",
         [](ByteWriter& w) {
             w.U32(kDsSetFont).U32(0).U16(0).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).Str(u"T");
             w.U16(9).U16(u'F');
         }},
        {"count past the end",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(2).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).U16(0);
             WriteItem(w, SampleItems()[1]);
         }},
        {"item header cut short",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(1).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).U16(0);
             w.Align4().U32(0).U32(0).I16(0).I16(0);
         }},
        {"item class ordinal without its word",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(1).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).U16(0);
             w.Align4().U32(0).U32(0).I16(0).I16(0).I16(1).I16(1).U16(1).U16(0xFFFF);
         }},
        {"item title without terminator",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(1).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).U16(0);
             w.Align4().U32(0).U32(0).I16(0).I16(0).I16(1).I16(1).U16(1).Ordinal(0x80);
             w.U16(u'O').U16(u'K');
         }},
        {"creation data past the end",
         [](ByteWriter& w) {
             w.U32(0).U32(0).U16(1).I16(0).I16(0).I16(1).I16(1).U16(0).U16(0).U16(0);
             w.Align4().U32(0).U32(0).I16(0).I16(0).I16(1).I16(1).U16(1).Ordinal(0x80);
             w.Str(u"OK").U16(10).U32(0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ByteWriter w;
        c.write(w);
        EXPECT_FALSE(ParseDialogTemplate(w.Bytes()).has_value());
    }
}

TEST(ResDialog, EveryCutOfATemplateIsRejected) {
    const auto full = SampleDialog();
    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(ParseDialogTemplate(std::span(full).first(length)).has_value());
    }
}

}  // namespace
}  // namespace platform::res
