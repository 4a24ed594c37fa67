// Start-up, the main window, the exit prompt and the end of the program.
#include <cstring>
#include <vector>

#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

class Startup : public Game {};

TEST_F(Startup, MainWindowIsCentredOnEveryScreen) {
    static const struct {
        platform::Size screen;
        Point corner;
    } cases[] = {
        {{1024, 768}, {312, 234}},
        {{1023, 768}, {311, 234}},
        {{399, 300}, {0, 0}},  // truncation toward zero: (399 - 400) / 2 is 0, not -1
        {{320, 240}, {-40, -30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.width << " x " << c.screen.height);
        HeadlessBackend screen(c.screen);
        screen.Then([&] {
            const WindowInfo main = Window(kMainTitle);
            EXPECT_EQ(main.screen, Rect::FromSize(c.corner, {400, 300}));
        });
        screen.Then([&] {
            const WindowInfo exit = Window(kExitTitle);
            const WindowInfo* ok = exit.Child("OK");
            ASSERT_NE(ok, nullptr);
            screen.PressNow(ok->Centre());
            screen.ReleaseNow(ok->Centre());
        });
        EXPECT_EQ(platform::Run(screen, resources::Embedded(), WinMain).status, 0);
    }
}

TEST_F(Startup, MainWindowHasItsTitleFrameAndBackground) {
    Look([&] {
        const WindowInfo main = Window(kMainTitle);
        EXPECT_EQ(main.className, "Main Window");
        EXPECT_TRUE(main.enabled);
        // A caption and a fixed frame around a 394 x 275 client area.
        EXPECT_EQ(main.client, Rect::FromSize({315, 256}, {394, 275}));
        EXPECT_FALSE(main.style & WS_SYSMENU) << "the main window has no close box";
        // The background at the client origin, clipped on the right and at the bottom.
        ExpectPictureAt(IDB_BACKGROUND, {0, 0}, "after start-up");
        // And it is on the screen, not only in the window's pixels.
        const auto background = Picture(IDB_BACKGROUND);
        for (Point p : {Point{0, 0}, Point{393, 0}, Point{0, 274}, Point{393, 274}})
            EXPECT_EQ(display.ScreenPixel({main.client.left + p.x, main.client.top + p.y}),
                      background.At(p.x, p.y));
    });
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

TEST_F(Startup, ExitPromptIsAnUnownedBoxWithOneOkButton) {
    Look([&] {
        const WindowInfo exit = Window(kExitTitle);
        EXPECT_EQ(exit.owner, nullptr);
        EXPECT_TRUE(exit.active);
        ASSERT_EQ(exit.children.size(), 2u);
        EXPECT_NE(exit.Child(kExitText), nullptr);
        const WindowInfo* ok = exit.Child("OK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->id, static_cast<UINT_PTR>(IDOK));
        // Centred on the screen.
        EXPECT_NEAR((exit.screen.left + exit.screen.right) / 2, 512, 1);
        EXPECT_NEAR((exit.screen.top + exit.screen.bottom) / 2, 384, 1);
    });
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

TEST_F(Startup, ConfirmingTheExitPromptEndsWithStatusZeroAndNoPictureLeft) {
    ConfirmExit();
    const platform::RunResult result = Play();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.atExit.bitmaps, 0u);
    EXPECT_EQ(result.atExit.contexts, 0u);
}

TEST_F(Startup, EnterOnTheExitPromptEndsTheProgram) {
    display.Type(VK_RETURN);
    EXPECT_EQ(Play().status, 0);
}

TEST_F(Startup, MiddleClickAndKeysOnTheMainWindowChangeNothing) {
    std::vector<platform::gdi::Pixel> before;
    auto snapshot = [&] {
        std::vector<platform::gdi::Pixel> pixels;
        const WindowInfo main = Window(kMainTitle);
        for (int y = 0; y < 275; y += 5)
            for (int x = 0; x < 394; x += 5)
                pixels.push_back(*platform::observe::ClientPixel(main.handle, {x, y}));
        return pixels;
    };
    Look([&] { before = snapshot(); });
    PressMain(MouseButton::Middle);
    Look([&] {
        // The main window is active now, so keys go to it.
        EXPECT_TRUE(Window(kMainTitle).active);
        display.KeyNow('A', true);
        display.KeyNow('A', false);
        display.KeyNow(VK_SPACE, true);
        display.KeyNow(VK_SPACE, false);
    });
    Wait(1s);
    Look([&] {
        EXPECT_TRUE(Stopped);
        EXPECT_EQ(platform::observe::Live().timers, 0u);
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(platform::observe::TopLevelWindows().size(), 2u);
    });
    ConfirmExit();
    EXPECT_EQ(Play().status, 0);
}

// A resource set whose background bitmap cannot be found: the name of its entry is changed.
std::vector<std::byte> WithoutBackground() {
    auto bytes = resources::Embedded();
    std::vector<std::byte> copy(bytes.begin(), bytes.end());
    const unsigned char header[] = {0xFF, 0xFF, 0x02, 0x00, 0xFF, 0xFF, 101, 0x00};
    for (std::size_t i = 0; i + sizeof header <= copy.size(); ++i) {
        if (std::memcmp(copy.data() + i, header, sizeof header) == 0) {
            copy[i + 6] = std::byte{0xE7};  // 999
            return copy;
        }
    }
    ADD_FAILURE() << "no bitmap 101 in the resources";
    return copy;
}

TEST_F(Startup, AMissingBackgroundDrawsNothingOverTheErasedClientArea) {
    const std::vector<std::byte> resources = WithoutBackground();
    Look([&] {
        const WindowInfo main = Window(kMainTitle);
        // Erased with the class background, the menu-text colour: black.
        for (Point p : {Point{0, 0}, Point{200, 100}, Point{393, 274}})
            EXPECT_EQ(platform::observe::ClientPixel(main.handle, p), platform::gdi::Rgb(0, 0, 0));
    });
    ConfirmExit();
    const platform::RunResult result = Play(resources);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.atExit.bitmaps, 0u);
}

}  // namespace
}  // namespace testing_support
