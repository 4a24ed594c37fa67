#include "platform/observe.h"

namespace platform::observe {

const WindowInfo* WindowInfo::Child(std::string_view wanted) const {
    for (const WindowInfo& child : children) {
        if (child.text == wanted) return &child;
        if (const WindowInfo* deeper = child.Child(wanted)) return deeper;
    }
    return nullptr;
}

std::optional<WindowInfo> Describe(HWND handle) {
    System* sys = System::Current();
    const user::Window* window = sys ? sys->desktop.Find(handle) : nullptr;
    if (!window) return std::nullopt;
    WindowInfo info;
    info.handle = handle;
    info.className = window->windowClass ? window->windowClass->name : std::string{};
    info.text = window->text;
    info.style = window->style;
    const Point client = sys->desktop.ToScreen(*window, {0, 0});
    info.client = Rect::FromSize(client, window->client.Dimensions());
    info.screen = Rect::FromSize({client.x - window->client.left, client.y - window->client.top},
                                 window->rect.Dimensions());
    info.owner = window->owner;
    info.parent = window->parent;
    info.id = window->id;
    info.native = window->native;
    info.visible = sys->desktop.IsShown(*window);
    info.enabled = window->enabled;
    info.active = sys->desktop.Active() == handle;
    info.focused = sys->desktop.Focus() == handle;
    for (HWND child : window->children)
        if (auto c = Describe(child)) info.children.push_back(std::move(*c));
    return info;
}

std::vector<WindowInfo> TopLevelWindows() {
    std::vector<WindowInfo> all;
    if (System* sys = System::Current())
        for (HWND handle : sys->desktop.Stacking())
            if (auto info = Describe(handle)) all.push_back(std::move(*info));
    return all;
}

std::optional<WindowInfo> FindTopLevel(std::string_view title) {
    auto all = TopLevelWindows();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->visible && it->text == title) return std::move(*it);
    return std::nullopt;
}

std::optional<gdi::Pixel> ClientPixel(HWND handle, Point client) {
    System* sys = System::Current();
    if (!sys) return std::nullopt;
    const user::Window* window = sys->desktop.Find(handle);
    const user::Window* top = sys->desktop.TopLevelOf(handle);
    if (!window || !top || !Rect::FromSize({}, window->client.Dimensions()).Contains(client))
        return std::nullopt;
    const Point origin = sys->desktop.ClientOrigin(*window);
    const Point at{origin.x + client.x, origin.y + client.y};
    if (!top->pixels.Bounds().Contains(at)) return std::nullopt;
    return top->pixels.At(at.x, at.y);
}

LiveObjects Live() {
    System* sys = System::Current();
    return sys ? platform::Live(*sys) : LiveObjects{};
}

}  // namespace platform::observe
