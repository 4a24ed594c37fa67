// The reels and play control: starting, the symbol cycle, stopping with the stop notice.
#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

constexpr Point kReelAt[REEL_COUNT] = {{5, 30}, {135, 30}, {265, 30}};
constexpr int kSymbolId[9] = {0,           IDB_SYMBOL1, IDB_SYMBOL2, IDB_SYMBOL3, IDB_SYMBOL4,
                              IDB_SYMBOL5, IDB_SYMBOL6, IDB_SYMBOL7, IDB_SYMBOL8};

class Play : public Game {
  protected:
    // The k-th tick since start-up shows slot 1 + ((k + r) mod 8) on reel r.
    void ExpectTick(int k) {
        for (int r = 0; r < REEL_COUNT; ++r) {
            const int slot = 1 + (k + r) % 8;
            ExpectPictureAt(kSymbolId[slot], kReelAt[r],
                            (std::string("tick ") + std::to_string(k)).c_str());
        }
    }
    // The reels' area shows the background: no reel is on screen.
    void ExpectNoReels() {
        const auto background = Picture(IDB_BACKGROUND);
        const WindowInfo main = Window(kMainTitle);
        for (Point p : kReelAt)
            for (Point d : {Point{0, 0}, Point{64, 64}, Point{127, 127}})
                EXPECT_EQ(platform::observe::ClientPixel(main.handle, {p.x + d.x, p.y + d.y}),
                          background.At(p.x + d.x, p.y + d.y));
    }
};

TEST_F(Play, FirstPressShowsTheBackgroundAndTheFirstTickSymbolsOneTwoThree) {
    PressMain();
    Look([&] {
        EXPECT_FALSE(Stopped);
        EXPECT_EQ(TimerId, static_cast<UINT_PTR>(SPIN_TIMER));
        ExpectPictureAt(IDB_BACKGROUND, {0, 0}, "before the first tick");
    });
    Wait(100ms);
    Look([&] {
        ExpectTick(0);
        EXPECT_EQ(ReelPos[0], 2);
        EXPECT_EQ(ReelPos[1], 3);
        EXPECT_EQ(ReelPos[2], 4);
    });
    ConfirmExit();
    EXPECT_EQ(Game::Play().status, 0);
}

TEST_F(Play, ReelsFollowTheSymbolCycleAcrossAStopAndARestart) {
    PressMain();
    int k = 0;
    // Ten ticks: past the wrap from 8 to 1 on every reel.
    for (; k < 10; ++k) {
        Wait(100ms);
        Look([this, k] {
            ExpectTick(k);
            for (int r = 0; r < REEL_COUNT; ++r) {
                EXPECT_NE(ReelPos[r], ReelPos[(r + 1) % REEL_COUNT]);
                EXPECT_GE(ReelPos[r], 1);
                EXPECT_LE(ReelPos[r], 8);
            }
        });
    }
    PressMain();  // stop
    ClickButton(kStopTitle);
    Look([&] { ExpectTick(9); });  // the last pictures stay
    PressMain();                   // restart: the old reels go under the background
    Look([&] { ExpectNoReels(); });
    for (; k < 13; ++k) {
        Wait(100ms);
        Look([this, k] { ExpectTick(k); });
    }
    ConfirmExit();
    EXPECT_EQ(Game::Play().status, 0);
}

TEST_F(Play, StopNoticeIsOwnedByTheDisabledMainWindowAndNoTickArrives) {
    PressMain();
    Wait(300ms);
    PressMain();
    Look([&] {
        EXPECT_TRUE(Stopped) << "already stopped while the notice is open";
        EXPECT_EQ(platform::observe::Live().timers, 0u);
        const WindowInfo notice = Window(kStopTitle);
        const WindowInfo main = Window(kMainTitle);
        EXPECT_EQ(notice.owner, main.handle);
        EXPECT_TRUE(notice.active);
        EXPECT_NE(notice.Child(kStopText), nullptr);
        EXPECT_NE(notice.Child("OK"), nullptr);
        EXPECT_FALSE(main.enabled);
    });
    Wait(1s);
    PressMain();  // dropped: the main window is disabled
    Look([&] {
        EXPECT_EQ(ReelPos[0], 4) << "three ticks, then none";
        EXPECT_TRUE(Window(kStopTitle).active) << "a press on the owner brings the notice forward";
    });
    ClickButton(kStopTitle);
    Look([&] {
        EXPECT_FALSE(IsOpen(kStopTitle));
        EXPECT_TRUE(Window(kMainTitle).enabled);
        EXPECT_TRUE(Stopped);
        ExpectTick(2);  // the box left the pictures beneath it as they were
    });
    ConfirmExit();
    EXPECT_EQ(Game::Play().status, 0);
}

TEST_F(Play, DoubleClickStartsAndAtOnceStops) {
    display.Then([&] {
        const WindowInfo main = Window(kMainTitle);
        const Point at{main.client.left + 20, main.client.top + 10};
        for (int i = 0; i < 2; ++i) {
            display.PressNow(at);
            display.ReleaseNow(at);
        }
    });
    Look([&] {
        EXPECT_TRUE(IsOpen(kStopTitle));
        EXPECT_TRUE(Stopped);
    });
    ClickButton(kStopTitle);
    ConfirmExit();
    EXPECT_EQ(Game::Play().status, 0);
}

TEST_F(Play, ConfirmingTheExitPromptWhileSpinningEndsAtOnce) {
    PressMain();
    Wait(250ms);
    ConfirmExit();
    const platform::RunResult result = Game::Play();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.atExit.bitmaps, 0u);
    EXPECT_FALSE(Stopped) << "no stop notice on the way out";
}

TEST_F(Play, ATimerMessageAfterTheStopStillDrawsAndStepsOnce) {
    PressMain();
    Wait(100ms);
    PressMain();
    ClickButton(kStopTitle);
    Look([&] { PostMessageA(Window(kMainTitle).handle, WM_TIMER, SPIN_TIMER, 0); });
    Wait(10ms);
    Look([&] {
        ExpectTick(1);
        EXPECT_EQ(ReelPos[0], 3);
    });
    Wait(1s);
    Look([&] { EXPECT_EQ(ReelPos[0], 3) << "and only once"; });
    ConfirmExit();
    EXPECT_EQ(Game::Play().status, 0);
}

class PlayWithoutTimers : public Play {
  protected:
    platform::RunResult PlayLimited() {
        platform::RunOptions options;
        options.timerLimit = 0;
        return platform::Run(display, resources::Embedded(), WinMain, std::move(options));
    }
};

TEST_F(PlayWithoutTimers, AFailedTimerLeavesTheReelsSpinningWithNoTicks) {
    PressMain();
    Wait(1s);
    Look([&] {
        EXPECT_FALSE(Stopped);
        EXPECT_EQ(TimerId, 0u);
        EXPECT_EQ(ReelPos[0], 1);
        ExpectNoReels();
    });
    PressMain();
    Look([&] { EXPECT_TRUE(IsOpen(kStopTitle)); });
    ClickButton(kStopTitle);
    ConfirmExit();
    EXPECT_EQ(PlayLimited().status, 0);
}

}  // namespace
}  // namespace testing_support
