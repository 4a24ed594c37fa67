// Painting of windows, and the GDI: device contexts, bitmaps and block copies.
#include <cstring>
#include <functional>
#include <optional>

#include "resources/embedded.h"
#include "resources/resource.h"
#include "tests/platform/harness.h"

namespace ptest {
namespace {

using platform::gdi::Surface;
using platform::observe::ClientPixel;
using platform::observe::Describe;

// --- Painting ---------------------------------------------------------------------------

namespace erase {

int colorIndex = COLOR_WINDOW;
int paints = 0;
HWND main;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++paints;
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Erase", Proc, colorIndex);
    // Shown by its style, with nothing painted yet: the loop must deliver the first WM_PAINT.
    main = CreateWindowExA(0, "Erase", "Erase", kFramed | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                           nullptr, instance, nullptr);
    return MessageLoop();
}

}  // namespace erase

TEST(Painting, ShownWindowIsErasedWithItsClassBrush) {
    static const struct {
        const char* label;
        int colorIndex;
        std::optional<Pixel> expected;  // else the colour GetSysColor gives
    } cases[] = {
        {"COLOR_MENUTEXT + 1 is black", COLOR_MENUTEXT, platform::gdi::Rgb(0, 0, 0)},
        {"COLOR_WINDOW + 1 is white", COLOR_WINDOW, platform::gdi::Rgb(255, 255, 255)},
        {"COLOR_BACKGROUND + 1, red, green and blue all different", COLOR_BACKGROUND, {}},
        {"COLOR_BTNFACE + 1", COLOR_BTNFACE, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Pixel expected = c.expected.value_or(FromColorRef(GetSysColor(c.colorIndex)));
        HeadlessBackend display;
        erase::colorIndex = c.colorIndex;
        erase::paints = 0;
        display.Then([&display, expected] {
            EXPECT_EQ(erase::paints, 1);
            const auto info = Describe(erase::main);
            ASSERT_TRUE(info);
            const int w = info->client.Width(), h = info->client.Height();
            for (const Point at : {Point{0, 0}, Point{w - 1, 0}, Point{0, h - 1},
                                   Point{w - 1, h - 1}, Point{w / 2, h / 2}}) {
                EXPECT_EQ(ClientPixel(erase::main, at), expected) << at.x << ", " << at.y;
                EXPECT_EQ(display.ScreenPixel({info->client.left + at.x, info->client.top + at.y}),
                          expected)
                    << "on the screen, " << at.x << ", " << at.y;
            }
        });
        EndRun(display);
        EXPECT_NO_THROW(platform::Run(display, {}, erase::Prog));
    }
}

namespace beneath {

HBITMAP picture;
std::optional<Surface> before, during, after;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, picture);
            BitBlt(dc, 10, 10, 400, 300, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
            MessageBoxA(window, "text", "Box", MB_OK);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    picture = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND));
    RegisterTestClass(instance, "Beneath", Proc, COLOR_BACKGROUND);
    // Under the middle of the screen, where boxes open.
    ShowTestWindow(instance, "Beneath", "Beneath", {212, 134, 812, 634});
    const int status = MessageLoop();
    DeleteObject(picture);
    return status;
}

}  // namespace beneath

TEST(Painting, ClosingABoxLeavesTheWindowBeneathAsItWas) {
    HeadlessBackend display;
    display.Then([&display] {
        beneath::before = display.Screenshot();
        const Point at{300, 200};  // in the window, away from where the box opens
        display.PressNow(at);
        display.ReleaseNow(at);
    });
    display.Then([&display] { beneath::during = display.Screenshot(); });
    display.Type(VK_RETURN);
    display.Then([&display] { beneath::after = display.Screenshot(); });
    EndRun(display);
    EXPECT_NO_THROW(platform::Run(display, resources::Embedded(), beneath::Prog));
    ASSERT_TRUE(beneath::before && beneath::during && beneath::after);
    EXPECT_NE(Difference(*beneath::before, *beneath::during), "") << "the box was never shown";
    EXPECT_EQ(Difference(*beneath::before, *beneath::after), "");
}

// --- Clipping of window contexts --------------------------------------------------------

namespace clip {

struct Blit {
    int x, y, width, height, sourceX, sourceY;
};

HINSTANCE instance;
HWND main;
Blit blit;
BOOL blitted = FALSE;
std::optional<Surface> before, after;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_LBUTTONDOWN) return DefWindowProcA(window, message, wParam, lParam);
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND));
    HGDIOBJ old = SelectObject(memory, picture);
    blitted = BitBlt(dc, blit.x, blit.y, blit.width, blit.height, memory, blit.sourceX,
                     blit.sourceY, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    ReleaseDC(window, dc);
    return 0;
}

int WINAPI Prog(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    instance = inst;
    RegisterTestClass(instance, "Clip", Proc, COLOR_WINDOW);
    main = ShowTestWindow(instance, "Clip", "Clip", {100, 100, 340, 280});
    return MessageLoop();
}

// The screen as it should be after the copy: the picture where the destination rectangle,
// the picture and the client area all agree, the old screen everywhere else.
Surface Expected(const Surface& screen, const Rect& client, const platform::res::Image& picture) {
    Surface expected = screen;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x = client.left; x < client.right; ++x) {
            const int cx = x - client.left, cy = y - client.top;
            if (cx < blit.x || cx >= blit.x + blit.width || cy < blit.y ||
                cy >= blit.y + blit.height)
                continue;
            const int px = blit.sourceX + cx - blit.x, py = blit.sourceY + cy - blit.y;
            if (px >= 0 && px < picture.width && py >= 0 && py < picture.height)
                expected.Set(x, y, picture.At(px, py));
        }
    return expected;
}

}  // namespace clip

TEST(Gdi, WindowContextIsClippedToTheClientArea) {
    static const struct {
        const char* label;
        clip::Blit blit;
    } cases[] = {
        {"at a negative position", {-30, -20, 400, 300, 0, 0}},
        {"past the right and bottom edges", {200, 130, 400, 300, 0, 0}},
        {"far larger than the screen", {-10, -10, 5000, 5000, 100, 50}},
        {"a source rectangle partly outside the picture", {20, 20, 200, 200, 300, 200}},
        {"a negative source position", {20, 20, 100, 100, -50, -50}},
    };
    const platform::res::Image picture = Picture(IDB_BACKGROUND);
    ASSERT_GT(picture.width, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HeadlessBackend display;
        clip::blit = c.blit;
        clip::blitted = FALSE;
        clip::before.reset();
        clip::after.reset();
        std::optional<Rect> client;
        display.Then([&display, &client] {
            clip::before = display.Screenshot();
            client = Describe(clip::main)->client;
            const Point at = ClientCentre(clip::main);
            display.PressNow(at);
            display.ReleaseNow(at);
        });
        display.Then([&display] { clip::after = display.Screenshot(); });
        EndRun(display);
        EXPECT_NO_THROW(platform::Run(display, resources::Embedded(), clip::Prog));
        ASSERT_TRUE(clip::before && clip::after && client);
        EXPECT_TRUE(clip::blitted);
        const Surface expected = clip::Expected(*clip::before, *client, picture);
        EXPECT_NE(Difference(*clip::before, expected), "") << "the copy shows nothing";
        EXPECT_EQ(Difference(expected, *clip::after), "");
    }
}

// --- Memory contexts and bitmaps --------------------------------------------------------

// How many pixels of the client area at `at` differ from the picture.
int Mismatches(HWND window, Point at, const platform::res::Image& picture) {
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (ClientPixel(window, {at.x + x, at.y + y}) != picture.At(x, y)) ++wrong;
    return wrong;
}

int WINAPI MemoryProg(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Memory", DefWindowProcA);
    HWND main = ShowTestWindow(instance, "Memory", "Memory", {0, 0, 400, 300});
    const platform::LiveObjects baseline = platform::observe::Live();
    const auto first = Picture(IDB_SYMBOL1);
    const auto second = Picture(IDB_SYMBOL2);
    EXPECT_NE(first.pixels, second.pixels) << "the test needs two different pictures";

    HBITMAP a = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SYMBOL1));
    HBITMAP b = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SYMBOL2));
    HDC dc = GetDC(main);
    HDC memoryA = CreateCompatibleDC(dc);
    HDC memoryB = CreateCompatibleDC(nullptr);
    HGDIOBJ oldA = SelectObject(memoryA, a);
    HGDIOBJ oldB = SelectObject(memoryB, b);
    EXPECT_NE(oldA, nullptr) << "a new memory context holds a bitmap of its own";

    // Bitmap to window; window to the other bitmap; that bitmap back to the window.
    EXPECT_TRUE(BitBlt(dc, 5, 5, 128, 128, memoryA, 0, 0, SRCCOPY));
    EXPECT_EQ(Mismatches(main, {5, 5}, first), 0);
    EXPECT_TRUE(BitBlt(memoryB, 0, 0, 128, 128, dc, 5, 5, SRCCOPY));
    EXPECT_TRUE(BitBlt(dc, 200, 5, 128, 128, memoryB, 0, 0, SRCCOPY));
    EXPECT_EQ(Mismatches(main, {200, 5}, first), 0) << "the second bitmap took the first's pixels";

    EXPECT_EQ(SelectObject(memoryA, oldA), a);
    EXPECT_EQ(SelectObject(memoryB, oldB), b);
    EXPECT_TRUE(DeleteDC(memoryA));
    EXPECT_TRUE(DeleteDC(memoryB));
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(ReleaseDC(main, dc), 1);
    EXPECT_EQ(platform::observe::Live(), baseline);
    DestroyWindow(main);
    return 0;
}

TEST(Gdi, MemoryContextCopiesToAndFromItsBitmap) {
    HeadlessBackend display;
    const auto result = platform::Run(display, resources::Embedded(), MemoryProg);
    EXPECT_EQ(result.atExit, platform::LiveObjects{});
}

int WINAPI GetObjectProg(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (const int id : {IDB_BACKGROUND, IDB_SYMBOL1}) {
        SCOPED_TRACE(id);
        const auto picture = Picture(id);
        HBITMAP bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
        EXPECT_NE(bitmap, nullptr);
        EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));

        BITMAP record;
        std::memset(&record, 0xAB, sizeof record);
        EXPECT_EQ(GetObjectA(bitmap, sizeof record, &record), static_cast<int>(sizeof record));
        EXPECT_EQ(record.bmWidth, picture.width);
        EXPECT_EQ(record.bmHeight, picture.height);
        EXPECT_EQ(record.bmPlanes, 1);
        EXPECT_EQ(record.bmBitsPixel, 32);

        // A short buffer takes only what fits.
        std::memset(&record, 0xAB, sizeof record);
        EXPECT_EQ(GetObjectA(bitmap, 8, &record), 8);
        EXPECT_EQ(record.bmWidth, picture.width);
        EXPECT_EQ(record.bmHeight, static_cast<LONG>(0xABABABAB));
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    return 0;
}

TEST(Gdi, GetObjectDescribesABitmap) {
    HeadlessBackend display;
    const auto result = platform::Run(display, resources::Embedded(), GetObjectProg);
    EXPECT_EQ(result.atExit, platform::LiveObjects{});
}

// --- Wrong and stale handles ------------------------------------------------------------

namespace stale {

struct World {
    HINSTANCE instance;
    HWND window;
    HWND otherWindow;
};

HBITMAP Load(const World& w) {
    return LoadBitmapA(w.instance, MAKEINTRESOURCEA(IDB_SYMBOL1));
}

const struct {
    const char* label;
    void (*run)(const World&);
} cases[] = {
    {"DeleteDC twice",
     [](const World&) {
         HDC memory = CreateCompatibleDC(nullptr);
         EXPECT_TRUE(DeleteDC(memory));
         EXPECT_FALSE(DeleteDC(memory));
         EXPECT_FALSE(BitBlt(memory, 0, 0, 1, 1, memory, 0, 0, SRCCOPY));
     }},
    {"a deleted context takes no bitmap",
     [](const World& w) {
         HDC memory = CreateCompatibleDC(nullptr);
         DeleteDC(memory);
         HBITMAP bitmap = Load(w);
         EXPECT_EQ(SelectObject(memory, bitmap), nullptr);
         EXPECT_TRUE(DeleteObject(bitmap)) << "the bitmap was never selected";
     }},
    {"GetObjectA after DeleteObject",
     [](const World& w) {
         HBITMAP bitmap = Load(w);
         EXPECT_TRUE(DeleteObject(bitmap));
         BITMAP record{};
         EXPECT_EQ(GetObjectA(bitmap, sizeof record, &record), 0);
         EXPECT_EQ(record.bmWidth, 0);
         EXPECT_FALSE(DeleteObject(bitmap));
     }},
    {"a stale bitmap handle stays stale after its slot is reused",
     [](const World& w) {
         HBITMAP first = Load(w);
         DeleteObject(first);
         HBITMAP second = Load(w);
         EXPECT_NE(first, second);
         EXPECT_FALSE(DeleteObject(first));
         EXPECT_TRUE(DeleteObject(second));
     }},
    {"DeleteObject of a bitmap selected into a context",
     [](const World& w) {
         HBITMAP bitmap = Load(w);
         HDC memory = CreateCompatibleDC(nullptr);
         HGDIOBJ old = SelectObject(memory, bitmap);
         EXPECT_FALSE(DeleteObject(bitmap));
         BITMAP record{};
         EXPECT_EQ(GetObjectA(bitmap, sizeof record, &record), static_cast<int>(sizeof record))
             << "the refused bitmap is still whole";
         EXPECT_EQ(SelectObject(memory, old), bitmap);
         EXPECT_TRUE(DeleteObject(bitmap));
         EXPECT_TRUE(DeleteDC(memory));
     }},
    {"deleting the context lets its bitmap go",
     [](const World& w) {
         HBITMAP bitmap = Load(w);
         HDC memory = CreateCompatibleDC(nullptr);
         SelectObject(memory, bitmap);
         EXPECT_TRUE(DeleteDC(memory));
         EXPECT_TRUE(DeleteObject(bitmap));
     }},
    {"a bitmap is selected into one context at a time",
     [](const World& w) {
         HBITMAP bitmap = Load(w);
         HDC one = CreateCompatibleDC(nullptr);
         HDC two = CreateCompatibleDC(nullptr);
         EXPECT_NE(SelectObject(one, bitmap), nullptr);
         EXPECT_EQ(SelectObject(two, bitmap), nullptr);
         DeleteDC(one);
         DeleteDC(two);
         EXPECT_TRUE(DeleteObject(bitmap));
     }},
    {"ReleaseDC with the wrong window",
     [](const World& w) {
         HDC dc = GetDC(w.window);
         EXPECT_EQ(ReleaseDC(w.otherWindow, dc), 0);
         EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
         EXPECT_EQ(ReleaseDC(w.window, dc), 1);
         EXPECT_EQ(ReleaseDC(w.window, dc), 0);
     }},
    {"a window context is released, not deleted",
     [](const World& w) {
         HDC dc = GetDC(w.window);
         EXPECT_FALSE(DeleteDC(dc));
         EXPECT_EQ(ReleaseDC(w.window, dc), 1);
     }},
    {"a context given to DeleteObject",
     [](const World&) {
         HDC memory = CreateCompatibleDC(nullptr);
         EXPECT_FALSE(DeleteObject(memory));
         EXPECT_EQ(GetObjectA(memory, 0, nullptr), 0);
         EXPECT_TRUE(DeleteDC(memory)) << "the context survived";
     }},
    {"a bitmap given to DeleteDC, a window to the GDI",
     [](const World& w) {
         HBITMAP bitmap = Load(w);
         EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bitmap)));
         EXPECT_FALSE(DeleteObject(w.window));
         EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(w.window), bitmap), nullptr);
         EXPECT_TRUE(DeleteObject(bitmap));
     }},
    {"LoadBitmapA of a missing id or a wrong name",
     [](const World& w) {
         EXPECT_EQ(LoadBitmapA(w.instance, MAKEINTRESOURCEA(999)), nullptr);
         EXPECT_EQ(LoadBitmapA(w.instance, "BACKGROUND"), nullptr);
         EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(IDB_BACKGROUND)), nullptr);
     }},
};

int WINAPI Prog(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RegisterTestClass(instance, "Stale", DefWindowProcA);
    const World w{instance, ShowTestWindow(instance, "Stale", "One", {0, 0, 200, 100}),
                  ShowTestWindow(instance, "Stale", "Two", {0, 200, 200, 300})};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const platform::LiveObjects baseline = platform::observe::Live();
        c.run(w);
        EXPECT_EQ(platform::observe::Live(), baseline) << "objects left behind";
    }
    DestroyWindow(w.window);
    DestroyWindow(w.otherWindow);
    return 0;
}

}  // namespace stale

TEST(Gdi, WrongAndStaleHandlesFailCleanly) {
    HeadlessBackend display;
    const auto result = platform::Run(display, resources::Embedded(), stale::Prog);
    EXPECT_EQ(result.atExit, platform::LiveObjects{});
}

int WINAPI NoPicturesProg(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND)) == nullptr ? 0 : 1;
}

TEST(Gdi, LoadBitmapWithoutResourcesReturnsNull) {
    HeadlessBackend display;
    EXPECT_EQ(platform::Run(display, {}, NoPicturesProg).status, 0);
}

}  // namespace
}  // namespace ptest
