// The GDI functions, and loading a picture from the program's resources.
#include <cstring>

#include "platform/res/dib.h"
#include "platform/system.h"

using platform::System;

HDC WINAPI GetDC(HWND window) {
    System* sys = System::Current();
    if (!sys || !sys->desktop.Find(window)) return nullptr;
    return sys->gdi.AddWindowContext(window);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    System* sys = System::Current();
    if (!sys) return 0;
    const platform::gdi::DeviceContext* context = sys->gdi.FindContext(dc);
    if (!context || context->window != window) return 0;
    return sys->gdi.DeleteContext(dc) ? 1 : 0;
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    System* sys = System::Current();
    if (!sys || (dc && !sys->gdi.FindContext(dc))) return nullptr;
    return sys->gdi.AddMemoryContext();
}

BOOL WINAPI DeleteDC(HDC dc) {
    System* sys = System::Current();
    if (!sys) return FALSE;
    // Window contexts are given back with ReleaseDC, not deleted.
    const platform::gdi::DeviceContext* context = sys->gdi.FindContext(dc);
    if (!context || context->window) return FALSE;
    return sys->gdi.DeleteContext(dc) ? TRUE : FALSE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    System* sys = System::Current();
    return sys ? sys->gdi.Select(dc, object) : nullptr;
}

int WINAPI GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    System* sys = System::Current();
    const platform::gdi::Bitmap* bitmap = sys ? sys->gdi.FindBitmap(object) : nullptr;
    if (!bitmap) return 0;
    if (!buffer) return static_cast<int>(sizeof(BITMAP));
    if (size <= 0) return 0;
    const BITMAP record{
        0,      bitmap->pixels.Width(), bitmap->pixels.Height(), bitmap->pixels.Width() * 4, 1, 32,
        nullptr};
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), sizeof record);
    std::memcpy(buffer, &record, n);
    return static_cast<int>(n);
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    System* sys = System::Current();
    return sys && sys->gdi.DeleteBitmap(object) ? TRUE : FALSE;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    System* sys = System::Current();
    if (!sys || rop != SRCCOPY || width < 0 || height < 0) return FALSE;
    auto to = sys->gdi.CanvasOf(dest);
    auto from = sys->gdi.CanvasOf(source);
    if (!to || !from) return FALSE;
    // The source is read only where its own context may look.
    const platform::Rect readable = from->clip;
    const platform::Point start{from->origin.x + sourceX, from->origin.y + sourceY};
    const platform::Rect wanted =
        platform::Rect::FromSize(start, {width, height}).Intersect(readable);
    if (wanted.Empty()) return TRUE;
    platform::gdi::Copy(*to, {x + wanted.left - start.x, y + wanted.top - start.y}, *from->surface,
                        {wanted.left, wanted.top}, {wanted.Width(), wanted.Height()});
    return TRUE;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    System* sys = System::Current();
    if (!sys || instance != sys->Instance() || !IS_INTRESOURCE(name)) return nullptr;
    const auto id = static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(name));
    const platform::res::Resource* resource =
        sys->Resources().Find(platform::res::resource_type::kBitmap, id, System::kLanguage);
    if (!resource) return nullptr;
    auto image = platform::res::DecodeDib(resource->data);
    if (!image) return nullptr;
    return sys->gdi.AddBitmap(
        platform::gdi::Surface::FromPixels(image->width, image->height, std::move(image->pixels)));
}
