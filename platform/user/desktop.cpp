#include "platform/user/desktop.h"

#include <algorithm>

#include "platform/user/frame.h"

namespace platform::user {

Desktop::Desktop(backend::Backend& backend, const gdi::Font* captionFont)
    : backend_(backend), captionFont_(captionFont) {}

Desktop::~Desktop() {
    for (HWND handle : order_)
        if (Window* window = Find(handle); window && window->native)
            backend_.DestroyWindow(window->native);
}

HWND Desktop::Add(std::unique_ptr<Window> window) {
    if (!window->IsChild()) {
        window->pixels = gdi::Surface(window->rect.Width(), window->rect.Height());
        window->native = backend_.CreateWindow(window->rect, window->text);
        if (!window->native) return nullptr;
        backend_.SetDragArea(window->native,
                             frame::DragArea(window->style, window->pixels.Dimensions()));
        if (Window* owner = Find(window->owner); owner && owner->native)
            backend_.SetModalFor(window->native, owner->native);
    }
    Window* raw = window.get();
    HWND handle = static_cast<HWND>(windows_.Add(std::move(window)));
    raw->handle = handle;
    order_.push_back(handle);
    if (raw->IsChild()) {
        if (Window* parent = Find(raw->parent)) parent->children.push_back(handle);
    } else {
        stacking_.push_back(handle);
        frame::Paint(raw->pixels, raw->style, raw->text, false, captionFont_);
        raw->changed = raw->pixels.Bounds();
    }
    return handle;
}

void Desktop::Remove(HWND handle) {
    Window* window = Find(handle);
    if (!window) return;
    if (window->native) backend_.DestroyWindow(window->native);
    if (Window* parent = Find(window->parent)) std::erase(parent->children, handle);
    std::erase(order_, handle);
    std::erase(stacking_, handle);
    if (focus_ == handle) focus_ = nullptr;
    if (capture_ == handle) capture_ = nullptr;
    if (active_ == handle) active_ = nullptr;
    windows_.Remove(handle);
}

Window* Desktop::Find(HWND handle) const {
    return windows_.Find(handle);
}

Window* Desktop::TopLevelOf(HWND handle) const {
    Window* window = Find(handle);
    while (window && window->IsChild()) window = Find(window->parent);
    return window;
}

Point Desktop::ClientOrigin(const Window& window) const {
    Point origin{window.client.left, window.client.top};
    const Window* at = &window;
    while (at->IsChild()) {
        const Window* parent = Find(at->parent);
        if (!parent) break;
        origin.x += at->rect.left + parent->client.left;
        origin.y += at->rect.top + parent->client.top;
        at = parent;
    }
    return origin;
}

std::optional<gdi::Canvas> Desktop::ClientCanvas(HWND handle) {
    Window* window = Find(handle);
    Window* top = TopLevelOf(handle);
    if (!window || !top) return std::nullopt;
    const Point origin = ClientOrigin(*window);
    Rect clip = Rect::FromSize(origin, window->client.Dimensions()).Intersect(top->pixels.Bounds());
    // A child draws only inside every parent's client area.
    for (const Window* at = window; at->IsChild();) {
        const Window* parent = Find(at->parent);
        if (!parent) break;
        const Point p = ClientOrigin(*parent);
        clip = clip.Intersect(Rect::FromSize(p, parent->client.Dimensions()));
        at = parent;
    }
    return gdi::Canvas{&top->pixels, origin, clip, &top->changed};
}

Point Desktop::ToScreen(const Window& window, Point client) const {
    const Window* top = TopLevelOf(window.handle);
    const Point origin = ClientOrigin(window);
    if (!top) return client;
    return {top->rect.left + origin.x + client.x, top->rect.top + origin.y + client.y};
}

bool Desktop::IsShown(const Window& window) const {
    for (const Window* at = &window; at; at = at->IsChild() ? Find(at->parent) : nullptr)
        if (!at->visible) return false;
    return true;
}

void Desktop::SetVisible(HWND handle, bool visible) {
    Window* window = Find(handle);
    if (!window || window->visible == visible) return;
    window->visible = visible;
    if (window->IsChild()) {
        if (Window* parent = Find(window->parent)) {
            Rect area = window->rect;
            Invalidate(parent->handle, &area, true);
        }
        return;
    }
    if (visible) {
        Invalidate(handle, nullptr, true);
        window->changed = window->pixels.Bounds();
        backend_.ShowWindow(window->native, true);
    } else {
        backend_.ShowWindow(window->native, false);
        if (active_ == handle) ActivateNext(handle);
    }
}

void Desktop::SetEnabled(HWND handle, bool enabled) {
    Window* window = Find(handle);
    if (!window || window->enabled == enabled) return;
    window->enabled = enabled;
    if (!enabled) {
        if (capture_ == handle) capture_ = nullptr;
        // The keyboard leaves a disabled window and everything inside it.
        for (HWND at = focus_; at;) {
            if (at == handle) {
                focus_ = nullptr;
                break;
            }
            Window* w = Find(at);
            at = w && w->IsChild() ? w->parent : nullptr;
        }
    }
    if (window->IsChild()) Invalidate(handle, nullptr, true);
}

void Desktop::SetText(HWND handle, std::string text) {
    Window* window = Find(handle);
    if (!window) return;
    window->text = std::move(text);
    if (window->IsChild()) {
        Invalidate(handle, nullptr, true);
    } else {
        backend_.SetTitle(window->native, window->text);
        RepaintFrame(handle);
    }
}

void Desktop::MoveTopLevel(HWND handle, Point screen) {
    Window* window = Find(handle);
    if (!window || window->IsChild()) return;
    window->rect = Rect::FromSize(screen, window->rect.Dimensions());
}

void Desktop::Restack(HWND handle) {
    // The window goes to the top, then everything it owns goes above it, in stacking order.
    std::vector<HWND> lifted{handle};
    for (std::size_t i = 0; i < lifted.size(); ++i)
        for (HWND other : stacking_)
            if (Window* w = Find(other); w && w->owner == lifted[i]) lifted.push_back(other);
    std::vector<HWND> rest;
    for (HWND other : stacking_)
        if (std::find(lifted.begin(), lifted.end(), other) == lifted.end()) rest.push_back(other);
    std::vector<HWND> owned(lifted.begin() + 1, lifted.end());
    std::stable_sort(owned.begin(), owned.end(), [&](HWND a, HWND b) {
        return std::find(stacking_.begin(), stacking_.end(), a) <
               std::find(stacking_.begin(), stacking_.end(), b);
    });
    rest.push_back(handle);
    rest.insert(rest.end(), owned.begin(), owned.end());
    stacking_ = std::move(rest);
    if (Window* window = Find(handle)) backend_.RaiseWindow(window->native);
    for (HWND other : owned)
        if (Window* w = Find(other); w && w->visible) backend_.RaiseWindow(w->native);
}

void Desktop::Activate(HWND handle) {
    Window* window = TopLevelOf(handle);
    if (!window || !window->visible) return;
    handle = window->handle;
    HWND previous = active_;
    if (stacking_.empty() || stacking_.back() != handle) Restack(handle);
    if (previous == handle) return;
    active_ = handle;
    if (previous) RepaintFrame(previous);
    RepaintFrame(handle);
    if (Window* focused = TopLevelOf(focus_); !focused || focused->handle != handle) {
        // The keyboard goes back to the control that last had it in this window.
        Window* last = Find(window->lastFocus);
        SetFocus(last && TopLevelOf(last->handle) == window ? last->handle : nullptr);
    }
}

void Desktop::ActivateNext(HWND except) {
    Window* gone = Find(except);
    // The owner comes first, as when a box closes; else the topmost other window.
    if (gone && gone->owner) {
        Window* owner = Find(gone->owner);
        if (owner && owner->visible && owner->enabled) {
            Activate(owner->handle);
            return;
        }
    }
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        Window* w = Find(*it);
        if (*it != except && w && w->visible && w->enabled) {
            Activate(*it);
            return;
        }
    }
    if (active_ == except) {
        active_ = nullptr;
        if (gone) RepaintFrame(except);
    }
}

void Desktop::SetFocus(HWND handle) {
    if (focus_ == handle) return;
    const HWND old = focus_;
    focus_ = handle;
    if (old) Invalidate(old, nullptr, false);
    if (handle) {
        Invalidate(handle, nullptr, false);
        if (Window* top = TopLevelOf(handle)) top->lastFocus = handle;
    }
}

HWND Desktop::EnabledPopupOf(HWND owner) const {
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        Window* w = Find(*it);
        if (!w || !w->visible || !w->enabled) continue;
        for (Window* up = Find(w->owner); up; up = Find(up->owner))
            if (up->handle == owner) return *it;
    }
    return nullptr;
}

HWND Desktop::FromNative(backend::NativeWindow native) const {
    for (HWND handle : stacking_)
        if (Window* w = Find(handle); w && w->native == native) return handle;
    return nullptr;
}

HWND Desktop::ChildAt(HWND handle, Point clientPoint) const {
    Window* window = Find(handle);
    if (!window) return nullptr;
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        Window* child = Find(*it);
        if (!child || !child->visible || !child->rect.Contains(clientPoint)) continue;
        Point inner{clientPoint.x - child->rect.left - child->client.left,
                    clientPoint.y - child->rect.top - child->client.top};
        return ChildAt(*it, inner);
    }
    return handle;
}

void Desktop::Invalidate(HWND handle, const Rect* area, bool erase) {
    Window* window = Find(handle);
    if (!window) return;
    const Rect all{0, 0, window->client.Width(), window->client.Height()};
    const Rect part = area ? area->Intersect(all) : all;
    if (part.Empty()) return;
    window->invalid = window->invalid.Union(part);
    window->erase = window->erase || erase;
    // A parent paints over its children, so they paint again after it.
    for (HWND child : window->children)
        if (Window* c = Find(child); c && !c->rect.Intersect(part).Empty())
            Invalidate(child, nullptr, erase);
}

HWND Desktop::NextToPaint() const {
    for (HWND handle : order_)
        if (Window* w = Find(handle); w && !w->invalid.Empty() && IsShown(*w)) return handle;
    return nullptr;
}

void Desktop::RepaintFrame(HWND handle) {
    Window* window = Find(handle);
    if (!window || window->IsChild()) return;
    frame::Paint(window->pixels, window->style, window->text, handle == active_, captionFont_);
    const Rect client = window->client;
    const Rect all = window->pixels.Bounds();
    // Only the frame changed: the strips around the client area.
    window->changed = window->changed.Union({0, 0, all.right, client.top})
                          .Union({0, client.bottom, all.right, all.bottom})
                          .Union({0, 0, client.left, all.bottom})
                          .Union({client.right, 0, all.right, all.bottom});
}

void Desktop::PresentChanged() {
    for (HWND handle : stacking_) {
        Window* window = Find(handle);
        if (!window || window->changed.Empty()) continue;
        if (window->visible) backend_.Present(window->native, window->pixels, window->changed);
        window->changed = {};
    }
}

void Desktop::PresentAll(HWND handle) {
    Window* window = Find(handle);
    if (window && window->visible)
        backend_.Present(window->native, window->pixels, window->pixels.Bounds());
}

}  // namespace platform::user
