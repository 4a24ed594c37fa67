// Real windows on a real display, through SDL2. Native windows are borderless: the platform
// draws every frame itself, and a press on a caption drags the window through SDL's hit test.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/sdl/x11_presenter.h"

struct SDL_Window;
union SDL_Event;

namespace platform::backend {

class SdlBackend : public Backend {
  public:
    // Opens the display; nullptr with `error` set when there is none to open.
    static std::unique_ptr<SdlBackend> Open(std::string* error);
    ~SdlBackend() override;

    Size ScreenSize() override;
    NativeWindow CreateWindow(Rect area, std::string_view title) override;
    void DestroyWindow(NativeWindow window) override;
    void MoveWindow(NativeWindow window, Rect area) override;
    void ShowWindow(NativeWindow window, bool visible) override;
    void RaiseWindow(NativeWindow window) override;
    void SetTitle(NativeWindow window, std::string_view title) override;
    void SetModalFor(NativeWindow window, NativeWindow owner) override;
    void SetDragArea(NativeWindow window, Rect area) override;
    void Present(NativeWindow window, const gdi::Surface& pixels, Rect area) override;
    Time Now() override;
    std::optional<Event> Wait(std::optional<Time> deadline) override;

    // Only Open makes one.
    SdlBackend();

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const;
    };
    struct Native {
        std::unique_ptr<SDL_Window, WindowDeleter> window;
        // On a local X display the pixels go straight to the window; elsewhere through
        // SDL's window surface. Let go of before the window.
        std::unique_ptr<X11Presenter> presenter;
        Rect drag;
    };
    Native* Find(NativeWindow window);
    std::optional<Event> Translate(const ::SDL_Event& event);
    void SleepOnDisplay(Time left);
    void PresentThroughSurface(SDL_Window* window, const gdi::Surface& pixels, Rect area);
    // Shows again everything the window last showed.
    void Refresh(SDL_Window* window);

    std::map<NativeWindow, std::unique_ptr<Native>> windows_;
    NativeWindow next_ = 1;
    void* x11_ = nullptr;  // the X display, when the windows are on one
    int trace_ = -1;       // where presents are written for a benchmark, when one watches
    std::chrono::steady_clock::time_point start_;
};

}  // namespace platform::backend
