#include "platform/gdi/objects.h"

namespace platform::gdi {

Objects::Objects(std::function<std::optional<Canvas>(HWND)> windowCanvas)
    : windowCanvas_(std::move(windowCanvas)) {
    // Every new memory context starts with this 1 x 1 bitmap selected, as on the classic
    // platform; it is shared and never deleted.
    stockBitmap_ = bitmaps_.Add(std::make_unique<Bitmap>(Bitmap{Surface(1, 1), nullptr}));
}

HBITMAP Objects::AddBitmap(Surface pixels) {
    return static_cast<HBITMAP>(bitmaps_.Add(std::make_unique<Bitmap>(Bitmap{std::move(pixels)})));
}

Bitmap* Objects::FindBitmap(HGDIOBJ handle) const {
    return bitmaps_.Find(handle);
}

bool Objects::DeleteBitmap(HGDIOBJ handle) {
    Bitmap* bitmap = bitmaps_.Find(handle);
    // A bitmap selected into a context, or the stock one, cannot be deleted.
    if (!bitmap || bitmap->selectedInto || handle == stockBitmap_) return false;
    bitmaps_.Remove(handle);
    return true;
}

HDC Objects::AddWindowContext(HWND window, std::optional<Rect> limit) {
    return static_cast<HDC>(
        contexts_.Add(std::make_unique<DeviceContext>(DeviceContext{window, nullptr, limit})));
}

HDC Objects::AddMemoryContext() {
    return static_cast<HDC>(contexts_.Add(
        std::make_unique<DeviceContext>(DeviceContext{nullptr, stockBitmap_, std::nullopt})));
}

DeviceContext* Objects::FindContext(HDC dc) const {
    return contexts_.Find(dc);
}

bool Objects::DeleteContext(HDC dc) {
    DeviceContext* context = contexts_.Find(dc);
    if (!context) return false;
    if (Bitmap* bitmap = bitmaps_.Find(context->selected); bitmap && bitmap->selectedInto == dc)
        bitmap->selectedInto = nullptr;
    contexts_.Remove(dc);
    return true;
}

HGDIOBJ Objects::Select(HDC dc, HGDIOBJ handle) {
    DeviceContext* context = contexts_.Find(dc);
    Bitmap* bitmap = bitmaps_.Find(handle);
    if (!context || !bitmap || context->window) return nullptr;
    if (bitmap->selectedInto && bitmap->selectedInto != dc) return nullptr;
    HGDIOBJ previous = context->selected;
    if (Bitmap* old = bitmaps_.Find(previous); old && old->selectedInto == dc)
        old->selectedInto = nullptr;
    context->selected = handle;
    if (handle != stockBitmap_) bitmap->selectedInto = dc;
    return previous;
}

std::optional<Canvas> Objects::CanvasOf(HDC dc) const {
    const DeviceContext* context = contexts_.Find(dc);
    if (!context) return std::nullopt;
    if (context->window) {
        auto canvas = windowCanvas_(context->window);
        if (canvas && context->limit)
            canvas->clip =
                canvas->clip.Intersect(context->limit->Offset(canvas->origin.x, canvas->origin.y));
        return canvas;
    }
    Bitmap* bitmap = bitmaps_.Find(context->selected);
    if (!bitmap) return std::nullopt;
    return Canvas{&bitmap->pixels, {0, 0}, bitmap->pixels.Bounds(), nullptr};
}

}  // namespace platform::gdi
