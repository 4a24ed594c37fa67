#include "tests/support/game_fixture.h"

namespace testing_support {

WindowInfo Window(const char* title) {
    auto window = platform::observe::FindTopLevel(title);
    if (!window) {
        ADD_FAILURE() << "no window titled " << title;
        return {};
    }
    return *window;
}

bool IsOpen(const char* title) {
    return platform::observe::FindTopLevel(title).has_value();
}

platform::RunResult Game::Play(std::span<const std::byte> resources) {
    return platform::Run(display, resources, WinMain);
}

void Game::PressMain(MouseButton button) {
    display.Then([this, button] {
        // A point of the client area that no box covers: its top-left part.
        const WindowInfo main = Window(kMainTitle);
        const Point at{main.client.left + 20, main.client.top + 10};
        display.PressNow(at, button);
        display.ReleaseNow(at, button);
    });
}

void Game::ClickButton(const char* title, const char* button) {
    // The box may be behind the main window: the user brings it forward first.
    display.Then([this, title] { display.FocusNow(Window(title).native); });
    display.Then([this, title, button] {
        const WindowInfo box = Window(title);
        const WindowInfo* control = box.Child(button);
        ASSERT_NE(control, nullptr) << title << " has no " << button << " button";
        display.PressNow(control->Centre());
        display.ReleaseNow(control->Centre());
    });
}

void Game::ExpectPictureAt(int id, Point at, const char* what) {
    const platform::res::Image picture = Picture(id);
    ASSERT_GT(picture.width, 0) << "picture " << id;
    const WindowInfo main = Window(kMainTitle);
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const Point client{at.x + x, at.y + y};
            auto shown = platform::observe::ClientPixel(main.handle, client);
            if (!shown) continue;  // clipped by the client area
            if (*shown != picture.At(x, y)) ++wrong;
        }
    EXPECT_EQ(wrong, 0) << what << ": picture " << id << " at (" << at.x << ", " << at.y << ")";
}

}  // namespace testing_support
