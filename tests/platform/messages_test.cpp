// The order in which GetMessageA hands out messages, and window timers on the virtual clock.
#include <functional>
#include <optional>
#include <vector>

#include "tests/platform/harness.h"

namespace ptest {
namespace {

// --- Retrieval order --------------------------------------------------------------------

namespace order {

// Both timers fall due at 100 ms; the first to fire posts a message and invalidates the window
// while the second is still due.
constexpr UINT_PTR kTrigger = 1;
constexpr UINT_PTR kLate = 2;

HWND main;
bool withTimers = false;
std::vector<UINT> seen;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTrigger) {
                KillTimer(window, kTrigger);
                PostMessageA(window, WM_USER, 0, 0);
                InvalidateRect(window, nullptr, TRUE);
                return 0;
            }
            seen.push_back(WM_TIMER);
            KillTimer(window, kLate);
            PostQuitMessage(0);
            return 0;
        case WM_USER:
        case WM_LBUTTONDOWN:
            seen.push_back(message);
            return 0;
        case WM_LBUTTONUP:
            seen.push_back(message);
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            seen.push_back(message);
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Order", Proc);
    main = ShowTestWindow(instance, "Order", "Order", {100, 100, 400, 300});
    seen.clear();  // the first paint came from UpdateWindow
    if (withTimers) {
        SetTimer(main, kTrigger, 100, nullptr);
        SetTimer(main, kLate, 100, nullptr);
    }
    return MessageLoop();
}

}  // namespace order

TEST(MessageOrder, PostedThenPaintThenTimer) {
    HeadlessBackend display;
    order::withTimers = true;
    display.Advance(100ms);
    platform::Run(display, {}, order::Prog);
    EXPECT_EQ(order::seen, (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
}

TEST(MessageOrder, InputAfterPostedBeforePaint) {
    HeadlessBackend display;
    order::withTimers = false;
    display.Then([&display] {
        PostMessageA(order::main, WM_USER, 0, 0);
        InvalidateRect(order::main, nullptr, TRUE);
        const Point at = ClientCentre(order::main);
        display.PressNow(at);
        display.ReleaseNow(at);
    });
    platform::Run(display, {}, order::Prog);
    ASSERT_GE(order::seen.size(), 3u);
    EXPECT_EQ(std::vector<UINT>(order::seen.begin(), order::seen.begin() + 3),
              (std::vector<UINT>{WM_USER, WM_LBUTTONDOWN, WM_PAINT}));
    EXPECT_EQ(order::seen.back(), static_cast<UINT>(WM_LBUTTONUP));
}

// --- Timers -----------------------------------------------------------------------------

namespace ticks {

platform::backend::Backend* display;
UINT elapse;
std::size_t wanted;  // the program quits after this many ticks
std::vector<Time> at;

// Set when a tick should keep the program busy for a while before it returns.
std::optional<Time> busyOnFirstTick;
std::function<void(Time)> busy;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return DefWindowProcA(window, message, wParam, lParam);
    at.push_back(display->Now());
    if (at.size() == 1 && busyOnFirstTick) busy(*busyOnFirstTick);
    if (at.size() == wanted) {
        KillTimer(window, 1);
        PostQuitMessage(0);
    }
    return 0;
}

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Ticks", Proc);
    HWND window = ShowTestWindow(instance, "Ticks", "Ticks", {0, 0, 200, 100});
    if (SetTimer(window, 1, elapse, nullptr) != 1) return 1;
    return MessageLoop();
}

std::vector<Time> Multiples(Time period, std::size_t count) {
    std::vector<Time> all;
    for (std::size_t i = 1; i <= count; ++i) all.push_back(period * static_cast<long>(i));
    return all;
}

}  // namespace ticks

TEST(Timers, TickAtExactMultiplesOfTheirPeriod) {
    static const struct {
        const char* label;
        UINT elapse;
        Time period;
        std::size_t count;
    } cases[] = {
        {"100 ms", 100, 100ms, 3},
        {"100 ms, many ticks without drift", 100, 100ms, 500},
        {"33 ms, many ticks without drift", 33, 33ms, 300},
        {"0 ms acts as 10 ms", 0, 10ms, 5},
        {"1 ms acts as 10 ms", 1, 10ms, 5},
        {"9 ms acts as 10 ms", 9, 10ms, 5},
        {"10 ms", 10, 10ms, 5},
        {"11 ms", 11, 11ms, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HeadlessBackend display;
        ticks::display = &display;
        ticks::elapse = c.elapse;
        ticks::wanted = c.count;
        ticks::at.clear();
        ticks::busyOnFirstTick.reset();
        display.Advance(c.period * static_cast<long>(c.count));
        EXPECT_EQ(platform::Run(display, {}, ticks::Prog).status, 0);
        EXPECT_EQ(ticks::at, ticks::Multiples(c.period, c.count));
    }
}

// The scripted display's clock moves only while the program waits, and a wait ends at the next
// timer, so a program that is idle never misses a tick. This display's clock can also jump
// while the program is busy inside a handler.
class BusyDisplay : public platform::backend::Backend {
  public:
    HeadlessBackend script;
    void Busy(Time time) { busy_ += time; }

    platform::Size ScreenSize() override { return script.ScreenSize(); }
    platform::backend::NativeWindow CreateWindow(Rect area, std::string_view title) override {
        return script.CreateWindow(area, title);
    }
    void DestroyWindow(platform::backend::NativeWindow w) override { script.DestroyWindow(w); }
    void MoveWindow(platform::backend::NativeWindow w, Rect area) override {
        script.MoveWindow(w, area);
    }
    void ShowWindow(platform::backend::NativeWindow w, bool visible) override {
        script.ShowWindow(w, visible);
    }
    void RaiseWindow(platform::backend::NativeWindow w) override { script.RaiseWindow(w); }
    void SetTitle(platform::backend::NativeWindow w, std::string_view title) override {
        script.SetTitle(w, title);
    }
    void SetModalFor(platform::backend::NativeWindow w,
                     platform::backend::NativeWindow o) override {
        script.SetModalFor(w, o);
    }
    void SetDragArea(platform::backend::NativeWindow w, Rect area) override {
        script.SetDragArea(w, area);
    }
    void Present(platform::backend::NativeWindow w, const platform::gdi::Surface& pixels,
                 Rect area) override {
        script.Present(w, pixels, area);
    }
    Time Now() override { return script.Now() + busy_; }
    std::optional<platform::backend::Event> Wait(std::optional<Time> deadline) override {
        return script.Wait(deadline ? std::optional<Time>(*deadline - busy_) : std::nullopt);
    }

  private:
    Time busy_{};
};

TEST(Timers, PeriodsMissedWhileBusyGiveOneTick) {
    BusyDisplay display;
    ticks::display = &display;
    ticks::elapse = 100;
    ticks::wanted = 4;
    ticks::at.clear();
    // Busy from the first tick at 100 ms until 350 ms: the ticks of 200 and 300 ms are missed.
    ticks::busyOnFirstTick = 250ms;
    ticks::busy = [&display](Time time) { display.Busy(time); };
    display.script.Advance(1s);
    EXPECT_EQ(platform::Run(display, {}, ticks::Prog).status, 0);
    EXPECT_EQ(ticks::at, (std::vector<Time>{100ms, 350ms, 400ms, 500ms}));
}

namespace kill {

constexpr UINT_PTR kKiller = 1;
constexpr UINT_PTR kVictim = 2;  // due together with kKiller
constexpr UINT_PTR kEnd = 3;

HeadlessBackend* display;
std::vector<std::pair<UINT_PTR, Time>> ticks;
BOOL killedVictim = FALSE, killedAgain = TRUE;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return DefWindowProcA(window, message, wParam, lParam);
    ticks.emplace_back(wParam, display->Now());
    if (wParam == kKiller) {
        killedVictim = KillTimer(window, kVictim);
        killedAgain = KillTimer(window, kVictim);
        KillTimer(window, kKiller);
    } else if (wParam == kEnd) {
        KillTimer(window, kEnd);
        PostQuitMessage(0);
    }
    return 0;
}

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Kill", Proc);
    HWND window = ShowTestWindow(instance, "Kill", "Kill", {0, 0, 200, 100});
    SetTimer(window, kKiller, 100, nullptr);
    SetTimer(window, kVictim, 100, nullptr);
    SetTimer(window, kEnd, 1000, nullptr);
    return MessageLoop();
}

}  // namespace kill

TEST(Timers, KillTimerStopsTicksAtOnceEvenWhenDue) {
    HeadlessBackend display;
    kill::display = &display;
    display.Advance(1s);
    platform::Run(display, {}, kill::Prog);
    EXPECT_TRUE(kill::killedVictim);
    EXPECT_FALSE(kill::killedAgain);
    // The victim was due at 100 ms too, and the killer killed itself.
    EXPECT_EQ(kill::ticks, (std::vector<std::pair<UINT_PTR, Time>>{{kill::kKiller, 100ms},
                                                                   {kill::kEnd, 1000ms}}));
}

namespace limit {

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Limit", DefWindowProcA);
    HWND window = CreateWindowExA(0, "Limit", "Limit", kFramed, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    EXPECT_EQ(SetTimer(window, 7, 100, nullptr), 7u);
    EXPECT_EQ(SetTimer(window, 8, 100, nullptr), 8u);
    EXPECT_EQ(SetTimer(window, 9, 100, nullptr), 0u) << "a third timer over the limit of two";
    EXPECT_EQ(SetTimer(window, 7, 50, nullptr), 7u) << "restarting a held timer takes no more";
    EXPECT_EQ(platform::observe::Live().timers, 2u);
    EXPECT_TRUE(KillTimer(window, 8));
    EXPECT_EQ(SetTimer(window, 9, 100, nullptr), 9u) << "a killed timer frees its place";
    DestroyWindow(window);
    EXPECT_EQ(platform::observe::Live().timers, 0u) << "timers go with their window";
    return 0;
}

}  // namespace limit

TEST(Timers, SetTimerFailsAtTheLimit) {
    HeadlessBackend display;
    platform::RunOptions options;
    options.timerLimit = 2;
    EXPECT_EQ(platform::Run(display, {}, limit::Prog, std::move(options)).status, 0);
}

}  // namespace
}  // namespace ptest
