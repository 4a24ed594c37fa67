// Runs the real game (WinMain and everything under it) on the headless display, and gives
// tests the words a user would use: the windows by title, their buttons, the pictures.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/backend/headless/headless.h"
#include "platform/observe.h"
#include "platform/res/dib.h"
#include "platform/run.h"
#include "resources/embedded.h"
#include "resources/resource.h"
#include "shell/pokorinder.h"
#include "tests/support/picture.h"

namespace testing_support {

using namespace std::chrono_literals;
using platform::Point;
using platform::Rect;
using platform::backend::HeadlessBackend;
using platform::backend::MouseButton;
using platform::observe::WindowInfo;

inline constexpr const char* kMainTitle = "ポコリンダー Ver1.0β";
inline constexpr const char* kExitTitle = "ダイアログ";
inline constexpr const char* kExitText = "ＯＫを押すと終了";
inline constexpr const char* kStopTitle = "結果";
inline constexpr const char* kStopText = "ただいま、制作中です。";
inline constexpr const char* kAboutTitle = "説明";

// The shown top-level window with this title; fails the test when there is none.
WindowInfo Window(const char* title);
bool IsOpen(const char* title);

class Game : public ::testing::Test {
  public:
    explicit Game(platform::Size screen = {1024, 768}) : display(screen) {}

    // Runs the game to its end; the script must end it.
    platform::RunResult Play(std::span<const std::byte> resources = resources::Embedded());

    // Script steps.
    void PressMain(MouseButton button = MouseButton::Left);  // a click on the main window
    void ClickButton(const char* title, const char* button = "OK");
    void ConfirmExit() { ClickButton(kExitTitle); }
    void Look(std::function<void()> look) { display.Then(std::move(look)); }
    void Wait(platform::backend::Time time) { display.Advance(time); }

    // Checks, for use inside Look: what the screen shows at a client point of the main
    // window against a picture placed at `at`.
    void ExpectPictureAt(int id, Point at, const char* what);

    HeadlessBackend display;
};

}  // namespace testing_support
