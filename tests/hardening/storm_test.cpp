// A storm of random user input at the running game, from a fixed seed: every mouse button
// anywhere on every window, double clicks, keys, focus changes and waits. After each action the
// play state, the boxes and the exit prompt agree with each other.
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

constexpr std::uint32_t kSeed = 20001105;
constexpr int kActions = 100'000;

std::vector<WindowInfo> ShownTopLevels() {
    std::vector<WindowInfo> shown;
    for (WindowInfo& w : platform::observe::TopLevelWindows())
        if (w.visible) shown.push_back(std::move(w));
    return shown;  // bottom of the stack first
}

const WindowInfo* Titled(const std::vector<WindowInfo>& windows, std::string_view title) {
    for (const WindowInfo& w : windows)
        if (w.text == title) return &w;
    return nullptr;
}

int CountTitled(const std::vector<WindowInfo>& windows, std::string_view title) {
    int count = 0;
    for (const WindowInfo& w : windows) count += w.text == title;
    return count;
}

const WindowInfo* TopmostAt(const std::vector<WindowInfo>& windows, Point at) {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (it->screen.Contains(at)) return &*it;
    return nullptr;
}

void CollectButtons(const WindowInfo& window, std::vector<Point>& centres) {
    for (const WindowInfo& child : window.children) {
        if (child.className == "Button") centres.push_back(child.Centre());
        CollectButtons(child, centres);
    }
}

// One run of the program under the storm. Each check step checks the invariants and queues the
// next action and the next check, so the script never runs dry; when the storm is spent, or a
// check failed, the last steps confirm the exit prompt.
class StormRun {
  public:
    StormRun(HeadlessBackend& display, std::mt19937& rng, int& actionsLeft)
        : display_(display), rng_(rng), actionsLeft_(actionsLeft) {
        display_.Then([this] { Check(); });
    }

    // The run ended through the steps that confirm the exit prompt on purpose.
    bool EndedOnPurpose() const { return confirming_; }
    // The storm confirmed the exit prompt: the last action, or one before it that left a box
    // open, was a confirming key that reached the prompt or the mouse on the prompt.
    bool ConfirmedThePrompt() const { return promptConfirmed_ || couldConfirm_; }
    const std::string& LastAction() const { return action_; }
    int Checks() const { return checks_; }
    int ChecksSpinning() const { return spinning_; }
    int ChecksWithABox() const { return boxed_; }

  private:
    struct Snapshot {
        bool mainEnabled = false;
        BYTE stopped = 0;
        UINT_PTR timerId = 0;
    };

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    void Check() {
        SCOPED_TRACE(testing::Message()
                     << "after action " << kActions - actionsLeft_ << ": " << action_);
        ++checks_;
        const std::vector<WindowInfo> windows = ShownTopLevels();
        const WindowInfo* main = Titled(windows, kMainTitle);
        ASSERT_NE(main, nullptr) << "the main window is gone";
        // The prompt's OK, pressed while a stop notice or an about box runs its own loop inside
        // the prompt's, hides the prompt at once; the program ends when that box closes.
        const int boxes = CountTitled(windows, kStopTitle) + CountTitled(windows, kAboutTitle);
        const int prompts = CountTitled(windows, kExitTitle);
        if (!promptConfirmed_ && prompts == 0) {
            EXPECT_TRUE(couldConfirm_) << "the exit prompt went without being confirmed";
            EXPECT_EQ(boxes, 1) << "the program goes on with no box open";
            promptConfirmed_ = true;
        }
        EXPECT_EQ(prompts, promptConfirmed_ ? 0 : 1) << "the exit prompt stays open";
        boxed_ += boxes > 0;
        spinning_ += !Stopped;
        EXPECT_LE(boxes, 1) << "one stop notice or one about box at a time";
        for (const WindowInfo& w : windows)
            if (w.owner == main->handle) {
                EXPECT_FALSE(main->enabled) << "'" << w.text << "' is open over an enabled owner";
            }

        const platform::LiveObjects live = platform::observe::Live();
        EXPECT_EQ(static_cast<bool>(Stopped), live.timers == 0) << "timers " << live.timers;
        if (!Stopped) {
            EXPECT_EQ(live.timers, 1u);
            EXPECT_EQ(TimerId, static_cast<UINT_PTR>(SPIN_TIMER));
        }
        for (int r = 0; r < REEL_COUNT; ++r) {
            EXPECT_GE(ReelPos[r], 1);
            EXPECT_LE(ReelPos[r], 8);
        }
        // A press reaching the disabled main window would start or stop the reels.
        if (last_ && !last_->mainEnabled && !main->enabled) {
            EXPECT_EQ(Stopped, last_->stopped) << "changed while the main window was disabled";
            EXPECT_EQ(TimerId, last_->timerId) << "changed while the main window was disabled";
        }
        last_ = Snapshot{main->enabled, Stopped, TimerId};

        if (::testing::Test::HasFailure() || actionsLeft_ == 0) {
            WindDown();
            return;
        }
        // The next action follows in the same step: nothing happens in between, as the clock
        // stands and the program has nothing queued.
        --actionsLeft_;
        Act(windows);
        display_.Then([this] { Check(); });
    }

    // Closes the stop notice or the about box if one is open, then confirms the exit prompt.
    void WindDown() {
        confirming_ = true;
        const std::vector<WindowInfo> windows = ShownTopLevels();
        const WindowInfo* box = Titled(windows, kStopTitle);
        if (!box) box = Titled(windows, kAboutTitle);
        if (!box) box = Titled(windows, kExitTitle);
        if (!box) return;  // the run ends with this step
        const std::string title = box->text;
        display_.FocusNow(box->native);
        display_.Then([this, title] {
            const WindowInfo box = Window(title.c_str());
            const WindowInfo* ok = box.Child("OK");
            ASSERT_NE(ok, nullptr) << title;
            display_.PressNow(ok->Centre());
            display_.ReleaseNow(ok->Centre());
        });
        if (title != kExitTitle) display_.Then([this] { WindDown(); });
    }

    // A point on the screen: anywhere, anywhere on a window, or on or near one of the
    // windows' buttons.
    Point Somewhere(const std::vector<WindowInfo>& windows) {
        const int kind = Below(100);
        if (kind < 15 || windows.empty()) {
            const platform::Size screen = display_.ScreenSize();
            return {Below(screen.width), Below(screen.height)};
        }
        if (kind < 55) {
            const Rect area =
                windows[static_cast<std::size_t>(Below(static_cast<int>(windows.size())))].screen;
            return {area.left + Below(std::max(1, area.Width())),
                    area.top + Below(std::max(1, area.Height()))};
        }
        std::vector<Point> buttons;
        for (const WindowInfo& w : windows) CollectButtons(w, buttons);
        if (buttons.empty()) return Somewhere(windows);
        const Point centre =
            buttons[static_cast<std::size_t>(Below(static_cast<int>(buttons.size())))];
        return {centre.x + Below(9) - 4, centre.y + Below(7) - 3};
    }

    MouseButton AnyButton() {
        const int pick = Below(10);
        return pick < 6 ? MouseButton::Left : pick < 9 ? MouseButton::Right : MouseButton::Middle;
    }

    void Act(const std::vector<WindowInfo>& windows) {
        const WindowInfo* exit = Titled(windows, kExitTitle);
        const auto onExit = [&](Point at) { return exit && exit->screen.Contains(at); };
        const int kind = Below(100);
        couldConfirm_ = false;
        if (kind < 40) {
            Point at = Somewhere(windows);
            // Most presses that would land on the exit prompt's own OK button go to a corner of
            // the prompt instead, as with keys below.
            if (exit && TopmostAt(windows, at) == exit && Below(50) != 0) {
                if (const WindowInfo* ok = exit->Child("OK"); ok && ok->screen.Contains(at))
                    at = {exit->client.left + 1, exit->client.top + 1};
            }
            const MouseButton button = AnyButton();
            couldConfirm_ = onExit(at);
            // A click, a double click, a lone press or a lone release.
            const int presses = kind >= 25 && kind < 33 ? 2 : 1;
            const bool press = kind < 37;
            const bool release = kind < 33 || kind >= 37;
            for (int i = 0; i < presses; ++i) {
                if (press) display_.PressNow(at, button);
                if (release) display_.ReleaseNow(at, button);
            }
            action_ = std::string(presses == 2 ? "double " : "") +
                      (press && release ? "click"
                       : press          ? "press"
                                        : "release") +
                      " " + std::to_string(static_cast<int>(button)) + " at " +
                      std::to_string(at.x) + "," + std::to_string(at.y);
        } else if (kind < 65) {
            static const int keys[] = {VK_RETURN, VK_SPACE, VK_ESCAPE, VK_TAB, 'A', 'K', 'Q', 'Z'};
            int key = keys[Below(static_cast<int>(std::size(keys)))];
            const bool confirming = key == VK_RETURN || key == VK_SPACE || key == VK_ESCAPE;
            // Keys go to the topmost window. Most that would confirm the exit prompt become a
            // Tab, so that runs are long; a few get through and end the run.
            const bool toExit = !windows.empty() && windows.back().text == kExitTitle;
            if (confirming && toExit && Below(50) != 0) key = VK_TAB;
            couldConfirm_ = toExit && (key == VK_RETURN || key == VK_SPACE || key == VK_ESCAPE);
            const bool shift = Below(4) == 0;
            display_.KeyNow(key, true, shift);
            display_.KeyNow(key, false, shift);
            action_ = "key " + std::to_string(key) + (shift ? " with shift" : "");
        } else if (kind < 75) {
            if (windows.empty()) return;
            const WindowInfo& w =
                windows[static_cast<std::size_t>(Below(static_cast<int>(windows.size())))];
            display_.FocusNow(w.native);
            action_ = "focus '" + w.text + "'";
        } else {
            const int ms = Below(4) == 0 ? 100 * Below(20) : Below(3000);
            display_.Advance(std::chrono::milliseconds(ms));
            action_ = "wait " + std::to_string(ms) + " ms";
        }
    }

    HeadlessBackend& display_;
    std::mt19937& rng_;
    int& actionsLeft_;
    std::optional<Snapshot> last_;
    std::string action_ = "start-up";
    bool couldConfirm_ = false;
    bool confirming_ = false;
    bool promptConfirmed_ = false;
    int checks_ = 0;
    int spinning_ = 0;
    int boxed_ = 0;
};

TEST(Storm, RandomInputKeepsPlayBoxesAndTheExitPromptConsistent) {
    std::mt19937 rng(kSeed);
    int actionsLeft = kActions;
    int runs = 0;
    int checks = 0;
    int spinning = 0;
    int boxed = 0;
    while (true) {
        // Every run starts from the game's variables as the program is loaded.
        Stopped = TRUE;
        TimerId = 0;
        HeadlessBackend display;
        StormRun storm(display, rng, actionsLeft);
        const platform::RunResult result = platform::Run(display, resources::Embedded(), WinMain);
        ++runs;
        checks += storm.Checks();
        spinning += storm.ChecksSpinning();
        boxed += storm.ChecksWithABox();
        SCOPED_TRACE(testing::Message()
                     << "run " << runs << " ended after: " << storm.LastAction());
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.atExit.bitmaps, 0u);
        if (storm.EndedOnPurpose() || ::testing::Test::HasFailure()) break;
        // Ended early: only the exit prompt may end the program.
        ASSERT_TRUE(storm.ConfirmedThePrompt()) << "the program ended without its exit prompt";
    }
    EXPECT_EQ(actionsLeft, 0);
    std::printf("storm: %d actions in %d runs; of %d checks, %d while turning, %d with a box\n",
                kActions - actionsLeft, runs, checks, spinning, boxed);
    // A storm that never turned the reels or opened a box would have checked little.
    EXPECT_GT(spinning, checks / 10);
    EXPECT_GT(boxed, checks / 10);
}

}  // namespace
}  // namespace testing_support
