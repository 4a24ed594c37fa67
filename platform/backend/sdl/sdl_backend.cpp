#include "platform/backend/sdl/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/win32.h"

namespace platform::backend {
namespace {

int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        default:
            return 0;
    }
}

// X answers asynchronously: a request about a window the program has just destroyed can fail
// after the fact. Such an error is harmless, and Xlib's own handler would end the program for
// it; any other protocol error is reported and the program goes on.
int OnXError(Display*, XErrorEvent* error) {
    if (error->error_code != BadWindow)
        SDL_Log("X protocol error %d (request %d)", error->error_code, error->request_code);
    return 0;
}

// The connection to the display is gone: nothing can be shown or answered any more. Xlib
// requires this handler not to return.
int OnDisplayLost(Display*) {
    static const char line[] = "pokorinder: lost the connection to the display\n";
    [[maybe_unused]] auto written = write(STDERR_FILENO, line, sizeof line - 1);
    _exit(1);
}

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* point, void* data) {
    const Rect* drag = static_cast<const Rect*>(data);
    return drag->Contains({point->x, point->y}) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

}  // namespace

void SdlBackend::WindowDeleter::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}

SdlBackend::SdlBackend() : start_(std::chrono::steady_clock::now()) {
    // The benchmark's observation point: with POKORINDER_TRACE naming a file, every present is
    // written there with the time it happened. Nothing else changes.
    if (const char* trace = SDL_getenv("POKORINDER_TRACE"); trace && *trace)
        trace_ = open(trace, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

SdlBackend::~SdlBackend() {
    if (trace_ >= 0) close(trace_);
    windows_.clear();
    // Errors still on their way about the windows just destroyed are read here, by our own
    // handler, before SDL puts Xlib's fatal one back.
    if (x11_) XSync(static_cast<Display*>(x11_), False);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::unique_ptr<SdlBackend> SdlBackend::Open(std::string* error) {
    // A window surface without this hint goes through software OpenGL: slower to start and
    // several times the memory.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only real displays: without this SDL falls back silently to an invisible one.
    const char* x11 = SDL_getenv("DISPLAY");
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    std::string drivers =
        std::string(x11 && *x11 ? "x11," : "") + (wayland && *wayland ? "wayland" : "");
    if (drivers.empty()) {
        if (error) *error = "no display is set (neither DISPLAY nor WAYLAND_DISPLAY)";
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The program takes no text input and mostly waits: it needs no input method and keeps
    // no screen saver away. Both would go through D-Bus, which without a session bus forks
    // a helper that shares the display connection.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (!SDL_getenv("SDL_IM_MODULE")) SDL_setenv("SDL_IM_MODULE", "none", 0);
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = SDL_GetError();
        return nullptr;
    }
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
        XSetErrorHandler(OnXError);
        XSetIOErrorHandler(OnDisplayLost);
    }
    return std::make_unique<SdlBackend>();
}

SdlBackend::Native* SdlBackend::Find(NativeWindow window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

Size SdlBackend::ScreenSize() {
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return {640, 480};
    return {mode.w, mode.h};
}

NativeWindow SdlBackend::CreateWindow(Rect area, std::string_view title) {
    const std::string name(title);
    SDL_Window* window =
        SDL_CreateWindow(name.c_str(), area.left, area.top, std::max(1, area.Width()),
                         std::max(1, area.Height()), SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (!window) return 0;
    auto native = std::make_unique<Native>();
    native->window.reset(window);
    const NativeWindow id = next_++;
    SDL_SetWindowData(window, "native", reinterpret_cast<void*>(static_cast<std::uintptr_t>(id)));
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11_ = info.info.x11.display;
        native->presenter =
            X11Presenter::Create(info.info.x11.display, info.info.x11.window,
                                 {std::max(1, area.Width()), std::max(1, area.Height())});
    }
    windows_[id] = std::move(native);
    return id;
}

void SdlBackend::DestroyWindow(NativeWindow window) {
    windows_.erase(window);
}

void SdlBackend::MoveWindow(NativeWindow window, Rect area) {
    if (Native* n = Find(window)) SDL_SetWindowPosition(n->window.get(), area.left, area.top);
}

void SdlBackend::ShowWindow(NativeWindow window, bool visible) {
    Native* n = Find(window);
    if (!n) return;
    if (visible)
        SDL_ShowWindow(n->window.get());
    else
        SDL_HideWindow(n->window.get());
}

void SdlBackend::RaiseWindow(NativeWindow window) {
    // Raising does not move the keyboard, and focusing does not raise: activation needs both.
    if (Native* n = Find(window); n && (SDL_GetWindowFlags(n->window.get()) & SDL_WINDOW_SHOWN)) {
        SDL_RaiseWindow(n->window.get());
        SDL_SetWindowInputFocus(n->window.get());
        // What the window covered is on screen until it is drawn again.
        Refresh(n->window.get());
    }
}

void SdlBackend::Refresh(SDL_Window* window) {
    Native* n = Find(static_cast<NativeWindow>(
        reinterpret_cast<std::uintptr_t>(SDL_GetWindowData(window, "native"))));
    if (n && n->presenter)
        n->presenter->Refresh();
    else
        SDL_UpdateWindowSurface(window);
}

void SdlBackend::SetTitle(NativeWindow window, std::string_view title) {
    if (Native* n = Find(window)) SDL_SetWindowTitle(n->window.get(), std::string(title).c_str());
}

void SdlBackend::SetModalFor(NativeWindow window, NativeWindow owner) {
    Native* n = Find(window);
    Native* o = Find(owner);
    if (n && o) SDL_SetWindowModalFor(n->window.get(), o->window.get());
}

void SdlBackend::SetDragArea(NativeWindow window, Rect area) {
    Native* n = Find(window);
    if (!n) return;
    n->drag = area;
    SDL_SetWindowHitTest(n->window.get(), area.Empty() ? nullptr : HitTest, &n->drag);
}

void SdlBackend::Present(NativeWindow window, const gdi::Surface& pixels, Rect area) {
    Native* n = Find(window);
    if (!n) return;
    area = area.Intersect(pixels.Bounds());
    if (area.Empty()) return;
    // Traced as the pixels are handed to the display, before it answers.
    if (trace_ >= 0) {
        const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        const std::string line = "present " + std::to_string(now.count()) + " " +
                                 std::to_string(area.Width()) + "x" +
                                 std::to_string(area.Height()) + "\n";
        [[maybe_unused]] auto written = write(trace_, line.data(), line.size());
    }
    if (n->presenter)
        n->presenter->Put(pixels, area);
    else
        PresentThroughSurface(n->window.get(), pixels, area);
}

void SdlBackend::PresentThroughSurface(SDL_Window* window, const gdi::Surface& pixels, Rect area) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) return;
    area = area.Intersect({0, 0, surface->w, surface->h});
    if (area.Empty()) return;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    auto* base = static_cast<std::uint8_t*>(surface->pixels);
    const int bytes = surface->format->BytesPerPixel;
    for (int y = area.top; y < area.bottom; ++y) {
        const auto row = pixels.Row(y).subspan(area.left, area.Width());
        std::uint8_t* out = base + static_cast<std::size_t>(y) * surface->pitch +
                            static_cast<std::size_t>(area.left) * bytes;
        if (surface->format->format == SDL_PIXELFORMAT_RGB888 ||
            surface->format->format == SDL_PIXELFORMAT_ARGB8888) {
            std::memcpy(out, row.data(), row.size_bytes());
        } else {
            SDL_ConvertPixels(area.Width(), 1, SDL_PIXELFORMAT_RGB888, row.data(),
                              static_cast<int>(row.size_bytes()), surface->format->format, out,
                              surface->pitch);
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    const SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
}

Time SdlBackend::Now() {
    return std::chrono::steady_clock::now() - start_;
}

std::optional<Event> SdlBackend::Translate(const SDL_Event& e) {
    auto nativeOf = [](Uint32 windowId) -> NativeWindow {
        SDL_Window* window = SDL_GetWindowFromID(windowId);
        return window ? static_cast<NativeWindow>(
                            reinterpret_cast<std::uintptr_t>(SDL_GetWindowData(window, "native")))
                      : 0;
    };
    Event event;
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.kind =
                e.type == SDL_MOUSEBUTTONDOWN ? Event::Kind::MouseDown : Event::Kind::MouseUp;
            event.window = nativeOf(e.button.windowID);
            event.at = {e.button.x, e.button.y};
            if (e.button.button == SDL_BUTTON_LEFT)
                event.button = MouseButton::Left;
            else if (e.button.button == SDL_BUTTON_RIGHT)
                event.button = MouseButton::Right;
            else if (e.button.button == SDL_BUTTON_MIDDLE)
                event.button = MouseButton::Middle;
            else
                return std::nullopt;
            return event;
        case SDL_MOUSEMOTION:
            event.kind = Event::Kind::MouseMove;
            event.window = nativeOf(e.motion.windowID);
            event.at = {e.motion.x, e.motion.y};
            return event;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.kind = e.type == SDL_KEYDOWN ? Event::Kind::KeyDown : Event::Kind::KeyUp;
            event.window = nativeOf(e.key.windowID);
            event.key = VirtualKey(e.key.keysym.sym);
            event.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
            if (!event.key) return std::nullopt;
            return event;
        case SDL_WINDOWEVENT:
            event.window = nativeOf(e.window.windowID);
            switch (e.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                    // The display keeps no window contents; what was last shown is still here.
                    if (SDL_Window* window = SDL_GetWindowFromID(e.window.windowID))
                        Refresh(window);
                    return std::nullopt;
                case SDL_WINDOWEVENT_CLOSE:
                    event.kind = Event::Kind::CloseRequest;
                    return event;
                // Focus changes are not passed on: the display reports the ones the platform
                // asked for itself, late, and following them would undo newer activations.
                // Keys carry the window that has the keyboard instead.
                case SDL_WINDOWEVENT_MOVED:
                    event.kind = Event::Kind::Moved;
                    event.at = {e.window.data1, e.window.data2};
                    return event;
                default:
                    return std::nullopt;
            }
        default:
            return std::nullopt;
    }
}

std::optional<Event> SdlBackend::Wait(std::optional<Time> deadline) {
    for (;;) {
        SDL_Event e;
        if (SDL_PollEvent(&e)) {
            if (auto event = Translate(e)) return event;
            continue;
        }
        if (!deadline) {
            if (!SDL_WaitEvent(&e))
                throw DisplayError(std::string("the display stopped answering: ") + SDL_GetError());
            if (auto event = Translate(e)) return event;
            continue;
        }
        const Time left = *deadline - Now();
        if (left <= Time::zero()) return std::nullopt;
        if (x11_) {
            SleepOnDisplay(left);
        } else {
            // Whole milliseconds, rounded up, so that the deadline has passed on waking.
            const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left);
            if (SDL_WaitEventTimeout(&e,
                                     static_cast<int>(std::min<long long>(ms.count(), 1 << 30))))
                if (auto event = Translate(e)) return event;
        }
    }
}

// SDL's own timed wait counts whole milliseconds, which would make every tick up to one late;
// on X the program sleeps on the display's connection itself, to the microsecond. Nothing is
// waiting in SDL's queue: the caller has just emptied it.
void SdlBackend::SleepOnDisplay(Time left) {
    auto* display = static_cast<Display*>(x11_);
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0) return;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>((left - seconds).count())};
    ppoll(&connection, 1, &timeout, nullptr);
}

}  // namespace platform::backend
