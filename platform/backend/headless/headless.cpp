#include "platform/backend/headless/headless.h"

#include <algorithm>

#include "platform/gdi/canvas.h"

namespace platform::backend {

HeadlessBackend::HeadlessBackend(Size screen) : screen_(screen) {}

HeadlessBackend& HeadlessBackend::Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

HeadlessBackend& HeadlessBackend::Click(Point screen, MouseButton button) {
    return Then([=, this] {
        PressNow(screen, button);
        ReleaseNow(screen, button);
    });
}

HeadlessBackend& HeadlessBackend::Type(int key, bool shift) {
    return Then([=, this] {
        KeyNow(key, true, shift);
        KeyNow(key, false, shift);
    });
}

HeadlessBackend& HeadlessBackend::Advance(Time by) {
    return Then([=, this] { advanceTo_ = now_ + by; });
}

NativeWindow HeadlessBackend::At(Point screen, Point* relative) const {
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        const Native& w = windows_.at(*it);
        if (w.visible && w.area.Contains(screen)) {
            *relative = {screen.x - w.area.left, screen.y - w.area.top};
            return *it;
        }
    }
    return 0;
}

void HeadlessBackend::Pointer(Event::Kind kind, Point screen, MouseButton button) {
    Point relative;
    const NativeWindow window = At(screen, &relative);
    if (!window) return;
    // A press on a caption drags the window on a real display; it never reaches the program.
    if (kind != Event::Kind::MouseMove && windows_.at(window).drag.Contains(relative)) return;
    Event event;
    event.kind = kind;
    event.window = window;
    event.at = relative;
    event.button = button;
    events_.push_back(event);
}

void HeadlessBackend::PressNow(Point screen, MouseButton button) {
    Pointer(Event::Kind::MouseDown, screen, button);
}

void HeadlessBackend::ReleaseNow(Point screen, MouseButton button) {
    Pointer(Event::Kind::MouseUp, screen, button);
}

void HeadlessBackend::MoveNow(Point screen) {
    Pointer(Event::Kind::MouseMove, screen, MouseButton::Left);
}

void HeadlessBackend::KeyNow(int key, bool down, bool shift) {
    Event event;
    event.kind = down ? Event::Kind::KeyDown : Event::Kind::KeyUp;
    event.window = stacking_.empty() ? 0 : stacking_.back();
    event.key = key;
    event.shift = shift;
    events_.push_back(event);
}

void HeadlessBackend::CloseNow(NativeWindow window) {
    Event event;
    event.kind = Event::Kind::CloseRequest;
    event.window = window;
    events_.push_back(event);
}

void HeadlessBackend::FocusNow(NativeWindow window) {
    Event event;
    event.kind = Event::Kind::FocusGained;
    event.window = window;
    events_.push_back(event);
}

gdi::Surface HeadlessBackend::Screenshot() const {
    gdi::Surface screen(screen_.width, screen_.height);
    for (NativeWindow id : stacking_) {
        const Native& w = windows_.at(id);
        if (!w.visible) continue;
        gdi::Canvas canvas{&screen, {0, 0}, screen.Bounds(), nullptr};
        gdi::Copy(canvas, {w.area.left, w.area.top}, w.shown, {0, 0}, w.shown.Dimensions());
    }
    return screen;
}

std::optional<gdi::Pixel> HeadlessBackend::ScreenPixel(Point screen) const {
    Point relative;
    const NativeWindow window = At(screen, &relative);
    if (!window) return std::nullopt;
    const gdi::Surface& shown = windows_.at(window).shown;
    if (!shown.Bounds().Contains(relative)) return std::nullopt;
    return shown.At(relative.x, relative.y);
}

NativeWindow HeadlessBackend::CreateWindow(Rect area, std::string_view title) {
    const NativeWindow id = next_++;
    windows_[id] =
        Native{area, false, std::string(title), {}, gdi::Surface(area.Width(), area.Height())};
    stacking_.push_back(id);
    return id;
}

void HeadlessBackend::DestroyWindow(NativeWindow window) {
    windows_.erase(window);
    std::erase(stacking_, window);
}

void HeadlessBackend::MoveWindow(NativeWindow window, Rect area) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.area = area;
}

void HeadlessBackend::ShowWindow(NativeWindow window, bool visible) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.visible = visible;
}

void HeadlessBackend::RaiseWindow(NativeWindow window) {
    if (!windows_.contains(window)) return;
    std::erase(stacking_, window);
    stacking_.push_back(window);
}

void HeadlessBackend::SetTitle(NativeWindow window, std::string_view title) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.title = title;
}

void HeadlessBackend::SetDragArea(NativeWindow window, Rect area) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.drag = area;
}

void HeadlessBackend::Present(NativeWindow window, const gdi::Surface& pixels, Rect area) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    ++presents_;
    gdi::Surface& shown = it->second.shown;
    if (shown.Dimensions() != pixels.Dimensions())
        shown = gdi::Surface(pixels.Width(), pixels.Height());
    gdi::Canvas canvas{&shown, {0, 0}, area, nullptr};
    gdi::Copy(canvas, {area.left, area.top}, pixels, {area.left, area.top}, area.Dimensions());
}

std::optional<Event> HeadlessBackend::Wait(std::optional<Time> deadline) {
    ++waits_;
    if (events_.empty()) {
        if (advanceTo_) {
            if (deadline && *deadline <= *advanceTo_) {
                now_ = std::max(now_, *deadline);
                return std::nullopt;
            }
            now_ = *advanceTo_;
            advanceTo_.reset();
        }
        if (deadline && *deadline <= now_) return std::nullopt;
        if (steps_.empty())
            throw Stuck("the program waits for input, and the script has no step left");
        Step step = std::move(steps_.front());
        steps_.pop_front();
        step();
    }
    // The program looks again after every step, at what the step did to it.
    if (events_.empty()) return std::nullopt;
    Event event = events_.front();
    events_.pop_front();
    return event;
}
}  // namespace platform::backend
