// The about box: opened by a right press, laid out from its template, closed only by OK.
#include "platform/gdi/font/font.h"
#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

int MulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

class About : public Game {
  protected:
    void OpenAbout() { PressMain(MouseButton::Right); }
};

TEST_F(About, BoxIsLaidOutFromItsTemplateInItsOwnFont) {
    auto fonts = platform::gdi::FontLibrary::Create();
    ASSERT_TRUE(fonts);
    const platform::gdi::Font* font = fonts->Get("ＭＳ ゴシック", 15);  // 11 point at 96 dpi
    ASSERT_TRUE(font);
    const int bx = font->AverageCharWidth();
    const int by = font->Height();
    auto px = [&](int x, int y) { return Point{MulDiv(x, bx, 4), MulDiv(y, by, 8)}; };
    auto area = [&](int x, int y, int cx, int cy, Point origin) {
        const Point at = px(x, y);
        const Point size = px(cx, cy);
        return Rect::FromSize({origin.x + at.x, origin.y + at.y}, {size.x, size.y});
    };

    OpenAbout();
    Look([&] {
        const WindowInfo main = Window(kMainTitle);
        const WindowInfo box = Window(kAboutTitle);
        EXPECT_EQ(box.owner, main.handle);
        EXPECT_FALSE(main.enabled);
        EXPECT_FALSE(box.style & WS_SYSMENU) << "no close box";
        // At (0, 0) of the owner's client area, 116 x 71 dialog units of client area.
        EXPECT_EQ(Point(box.screen.left, box.screen.top), Point(main.client.left, main.client.top));
        const Point client = px(116, 71);
        EXPECT_EQ(box.client.Dimensions(), platform::Size(client.x, client.y));

        static const struct {
            const char* text;
            int x, y, cx, cy;
            UINT_PTR id;
            const char* className;
        } controls[] = {
            {"OK", 36, 50, 50, 14, 1, "Button"},
            {"ポコリンダー Ver1.0β", 13, 7, 96, 10, 0xFFFF, "Static"},
            {"ＲＫ", 66, 20, 21, 8, 0xFFFF, "Static"},
            {"2000/11/05", 16, 20, 43, 8, 0xFFFF, "Static"},
            {"現在、開発中です。", 29, 36, 69, 8, 0xFFFF, "Static"},
        };
        ASSERT_EQ(box.children.size(), std::size(controls));
        for (std::size_t i = 0; i < std::size(controls); ++i) {
            const auto& c = controls[i];
            SCOPED_TRACE(c.text);
            const WindowInfo& control = box.children[i];  // in template order
            EXPECT_EQ(control.text, c.text);
            EXPECT_EQ(control.className, c.className);
            EXPECT_EQ(control.id, c.id);
            EXPECT_EQ(control.screen,
                      area(c.x, c.y, c.cx, c.cy, {box.client.left, box.client.top}));
        }
        EXPECT_TRUE(box.children[0].style & BS_DEFPUSHBUTTON);
        // The date stands left of the maker on the same row.
        EXPECT_LT(box.children[3].screen.right, box.children[2].screen.left);
        EXPECT_EQ(box.children[3].screen.top, box.children[2].screen.top);
    });
    ClickButton(kAboutTitle);
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

TEST_F(About, OkClosesByMouseEnterAndSpace) {
    static const struct {
        const char* how;
        std::function<void(About&)> close;
    } cases[] = {
        {"mouse", [](About& t) { t.ClickButton(kAboutTitle); }},
        {"Enter", [](About& t) { t.display.Type(VK_RETURN); }},
        {"Space on the focused button", [](About& t) { t.display.Type(VK_SPACE); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        display = HeadlessBackend();
        OpenAbout();
        Look([&] {
            const WindowInfo box = Window(kAboutTitle);
            EXPECT_TRUE(box.active);
            EXPECT_TRUE(box.children[0].focused) << "the OK button has the keyboard";
        });
        c.close(*this);
        Look([&] {
            EXPECT_FALSE(IsOpen(kAboutTitle));
            EXPECT_TRUE(Window(kMainTitle).enabled);
            ExpectPictureAt(IDB_BACKGROUND, {0, 0}, "after the box closed");
        });
        ConfirmExit();
        EXPECT_EQ(Play().status, 0);
    }
}

TEST_F(About, EscapeAndTheCancelCommandLeaveItOpen) {
    OpenAbout();
    display.Type(VK_ESCAPE);
    Look([&] {
        const WindowInfo box = Window(kAboutTitle);
        SendMessageA(box.handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        SendMessageA(box.handle, WM_CLOSE, 0, 0);
    });
    Wait(100ms);
    Look([&] {
        EXPECT_TRUE(IsOpen(kAboutTitle));
        EXPECT_FALSE(Window(kMainTitle).enabled);
    });
    display.Type(VK_RETURN);
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

TEST_F(About, ReelsKeepTurningBehindItAndAreCoveredWhenItCloses) {
    PressMain();
    Wait(100ms);
    OpenAbout();
    Wait(200ms);
    Look([&] {
        EXPECT_FALSE(Stopped) << "a right press does not stop the reels";
        EXPECT_EQ(ReelPos[0], 4) << "three ticks, one before the box and two behind it";
    });
    display.Type(VK_RETURN);
    Look([&] { ExpectPictureAt(IDB_BACKGROUND, {0, 0}, "the background covers the reels"); });
    Wait(100ms);
    Look([&] {
        for (int r = 0; r < REEL_COUNT; ++r)
            ExpectPictureAt(IDB_SYMBOL1 + (3 + r) % 8, {5 + 130 * r, 30}, "the next tick");
    });
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

TEST_F(About, RightPressDoesNotStartTheReels) {
    OpenAbout();
    display.Type(VK_RETURN);
    Wait(1s);
    Look([&] {
        EXPECT_TRUE(Stopped);
        EXPECT_EQ(platform::observe::Live().timers, 0u);
        EXPECT_EQ(ReelPos[0], 1);
    });
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

}  // namespace
}  // namespace testing_support
