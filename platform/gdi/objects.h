// The GDI objects of one program run: bitmaps and device contexts, behind checked handles.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/gdi/canvas.h"
#include "platform/handles.h"
#include "platform/win32.h"

namespace platform::gdi {

struct Bitmap {
    Surface pixels;
    HDC selectedInto = nullptr;
};

struct DeviceContext {
    HWND window = nullptr;       // a window's client area, or
    HGDIOBJ selected = nullptr;  // the bitmap a memory context draws into
    std::optional<Rect> limit;   // a window context from BeginPaint draws only here
};

class Objects {
  public:
    // `windowCanvas` gives the client-area canvas of a window, or nothing for a bad handle.
    explicit Objects(std::function<std::optional<Canvas>(HWND)> windowCanvas);

    HBITMAP AddBitmap(Surface pixels);
    Bitmap* FindBitmap(HGDIOBJ handle) const;
    bool DeleteBitmap(HGDIOBJ handle);

    HDC AddWindowContext(HWND window, std::optional<Rect> limit = std::nullopt);
    HDC AddMemoryContext();
    DeviceContext* FindContext(HDC dc) const;
    bool DeleteContext(HDC dc);

    // Selects a bitmap into a memory context; returns the one it replaces, or nothing.
    HGDIOBJ Select(HDC dc, HGDIOBJ bitmap);

    // The canvas a context draws on, with (0, 0) at the context's origin.
    std::optional<Canvas> CanvasOf(HDC dc) const;

    std::size_t LiveBitmaps() const { return bitmaps_.Count() - 1; }  // the stock one aside
    std::size_t LiveContexts() const { return contexts_.Count(); }

  private:
    HandleTable<Bitmap, 0x6B> bitmaps_;
    HandleTable<DeviceContext, 0x6C> contexts_;
    HGDIOBJ stockBitmap_;
    std::function<std::optional<Canvas>(HWND)> windowCanvas_;
};

}  // namespace platform::gdi
