// Puts a window's pixels on a local X display through an image in memory shared with the
// server. SDL's window surface does the same but then waits for the server to finish each
// update; this hands the update over and returns, and the server copies while the program
// goes back to sleep.
#pragma once

#include <memory>

#include "platform/gdi/surface.h"
#include "platform/geometry.h"

struct _XDisplay;
struct _XGC;
struct _XImage;

namespace platform::backend {

class X11Presenter {
  public:
    // nullptr when the display cannot share memory with this program, or when the window's
    // pixels are not laid out as the platform's: 32-bit 0x00RRGGBB in this machine's byte order.
    static std::unique_ptr<X11Presenter> Create(_XDisplay* display, unsigned long window,
                                                Size size);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Shows `area` of `pixels`, which are the whole window.
    void Put(const gdi::Surface& pixels, Rect area);
    // Shows again everything put so far: the display keeps no window contents of its own.
    void Refresh();

    struct Segment;
    struct ImageDone {
        void operator()(_XImage* image) const;
    };
    using ImagePtr = std::unique_ptr<_XImage, ImageDone>;

    // Only Create makes one.
    X11Presenter(_XDisplay* display, unsigned long window, std::unique_ptr<Segment> segment,
                 ImagePtr image);

  private:
    void Send(Rect area);

    _XDisplay* display_;
    unsigned long window_;
    _XGC* gc_;
    std::unique_ptr<Segment> segment_;  // outlives the image that points into it
    ImagePtr image_;
    Rect bounds_;
};

}  // namespace platform::backend
