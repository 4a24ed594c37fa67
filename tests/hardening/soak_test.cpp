// Long play (a million ticks; a quarter of that under AddressSanitizer), with stops, restarts,
// stop notices and about boxes along the way: the reels stay on their cycle and the program
// holds no more platform objects than after start-up.
#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

// After n ticks since start-up, reel r stands at slot 1 + ((n + r) mod 8).
void ExpectReelsAfter(long long ticks) {
    for (int r = 0; r < REEL_COUNT; ++r)
        EXPECT_EQ(ReelPos[r], 1 + (ticks + r) % 8) << "reel " << r << " after " << ticks;
}

// A million ticks take some 16 s of processor time in the optimised build. Under
// AddressSanitizer a tick costs over twenty-five times as much (a million would take some seven
// minutes of processor time), so that build soaks a quarter as long to stay within its test time
// limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLaps = 250;
#else
constexpr int kLaps = 1000;
#endif

class Soak : public Game {};

TEST_F(Soak, LongPlayWithStopsRestartsAndBoxesLeavesNothingBehind) {
    constexpr long long kTicksPerLap = 1000;  // a lap is 100 s of turning
    platform::LiveObjects afterStartup;
    long long ticks = 0;

    Look([&] {
        afterStartup = platform::observe::Live();
        EXPECT_EQ(afterStartup.timers, 0u);
        ExpectReelsAfter(0);
    });
    PressMain();
    for (int lap = 0; lap < kLaps; ++lap) {
        if (lap % 10 == 3) {
            // The reels turn on behind the about box.
            PressMain(MouseButton::Right);
            Look([] { ASSERT_TRUE(IsOpen(kAboutTitle)); });
            Wait(100s);
            display.Type(VK_RETURN);
        } else {
            Wait(100s);
        }
        ticks += kTicksPerLap;
        if (lap % 10 != 9) continue;

        // Stop, close the notice, stand a while, look at the about box, and start again.
        PressMain();
        Look([&, ticks] {
            ASSERT_TRUE(IsOpen(kStopTitle));
            EXPECT_TRUE(Stopped);
            EXPECT_EQ(platform::observe::Live().timers, 0u);
            ExpectReelsAfter(ticks);
        });
        display.Type(VK_RETURN);
        Wait(std::chrono::milliseconds(3000 + 37 * lap));
        PressMain(MouseButton::Right);
        display.Type(VK_RETURN);
        Look([&, ticks] {
            EXPECT_FALSE(IsOpen(kStopTitle));
            EXPECT_FALSE(IsOpen(kAboutTitle));
            ExpectReelsAfter(ticks);  // no tick while standing
        });
        if (lap + 1 < kLaps) PressMain();
    }
    Look([&] {
        EXPECT_EQ(ticks, kLaps * kTicksPerLap);
        EXPECT_TRUE(Stopped);
        ExpectReelsAfter(ticks);
        const platform::LiveObjects now = platform::observe::Live();
        EXPECT_EQ(now.windows, afterStartup.windows);
        EXPECT_EQ(now.contexts, afterStartup.contexts);
        EXPECT_EQ(now.bitmaps, afterStartup.bitmaps);
        EXPECT_EQ(now.timers, afterStartup.timers);
        EXPECT_EQ(platform::observe::TopLevelWindows().size(), 2u);
    });
    ConfirmExit();
    const platform::RunResult result = Play();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.atExit.bitmaps, 0u);
}

}  // namespace
}  // namespace testing_support
