// The in-memory display: a screen of any size, a virtual clock, and a scripted user whose next
// step runs whenever the program waits. Runs are deterministic and take no real time. A
// program that waits with no step left fails with HeadlessBackend::Stuck instead of hanging.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "platform/backend/backend.h"

namespace platform::backend {

class HeadlessBackend : public Backend {
  public:
    class Stuck : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    explicit HeadlessBackend(Size screen = {1024, 768});

    // The script. Each call adds one step.
    using Step = std::function<void()>;
    HeadlessBackend& Then(Step step);
    HeadlessBackend& Click(Point screen, MouseButton button = MouseButton::Left);
    HeadlessBackend& Type(int key, bool shift = false);
    HeadlessBackend& Advance(Time by);
    std::size_t StepsLeft() const { return steps_.size(); }

    // What a step does at once: input at a point of the screen reaches the topmost shown
    // window there, as on a real display.
    void PressNow(Point screen, MouseButton button = MouseButton::Left);
    void ReleaseNow(Point screen, MouseButton button = MouseButton::Left);
    void MoveNow(Point screen);
    void KeyNow(int key, bool down, bool shift = false);
    void CloseNow(NativeWindow window);
    // The window manager gives a window the focus, as through a task bar.
    void FocusNow(NativeWindow window);

    // The screen as presented: shown windows composed bottom to top over a black desktop.
    gdi::Surface Screenshot() const;
    std::optional<gdi::Pixel> ScreenPixel(Point screen) const;
    std::size_t PresentCount() const { return presents_; }
    std::size_t WaitCount() const { return waits_; }

    // Backend.
    Size ScreenSize() override { return screen_; }
    NativeWindow CreateWindow(Rect area, std::string_view title) override;
    void DestroyWindow(NativeWindow window) override;
    void MoveWindow(NativeWindow window, Rect area) override;
    void ShowWindow(NativeWindow window, bool visible) override;
    void RaiseWindow(NativeWindow window) override;
    void SetTitle(NativeWindow window, std::string_view title) override;
    void SetModalFor(NativeWindow, NativeWindow) override {}
    void SetDragArea(NativeWindow window, Rect area) override;
    void Present(NativeWindow window, const gdi::Surface& pixels, Rect area) override;
    Time Now() override { return now_; }
    std::optional<Event> Wait(std::optional<Time> deadline) override;

  private:
    struct Native {
        Rect area;
        bool visible = false;
        std::string title;
        Rect drag;
        gdi::Surface shown;
    };
    // The topmost shown window at a screen point, and the point relative to it.
    NativeWindow At(Point screen, Point* relative) const;
    void Pointer(Event::Kind kind, Point screen, MouseButton button);

    Size screen_;
    Time now_{};
    std::optional<Time> advanceTo_;
    std::deque<Step> steps_;
    std::deque<Event> events_;
    std::map<NativeWindow, Native> windows_;
    std::vector<NativeWindow> stacking_;  // bottom first
    NativeWindow next_ = 1;
    std::size_t presents_ = 0;
    std::size_t waits_ = 0;
};

}  // namespace platform::backend
