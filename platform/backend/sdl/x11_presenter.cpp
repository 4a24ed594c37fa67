#include "platform/backend/sdl/x11_presenter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstring>
#include <span>

namespace platform::backend {
namespace {

// Set by the error handler that is in place while the server attaches a segment: a display
// on another machine, or one that may not read this program's memory, refuses it.
bool attach_refused = false;

int OnAttachError(Display*, XErrorEvent*) {
    attach_refused = true;
    return 0;
}

bool PixelsMatch(const XImage& image) {
    const int host = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return image.bits_per_pixel == 32 && image.byte_order == host && image.red_mask == 0xFF0000 &&
           image.green_mask == 0xFF00 && image.blue_mask == 0xFF &&
           image.bytes_per_line >= image.width * 4;
}

}  // namespace

// A System V shared-memory segment, attached here and, once Attach succeeds, by the server.
struct X11Presenter::Segment {
    Display* display = nullptr;
    XShmSegmentInfo info{};
    bool server_attached = false;

    ~Segment() {
        if (server_attached) {
            XShmDetach(display, &info);
            // The server may still be reading the last update; the memory goes only after it
            // has let go.
            XSync(display, False);
        }
        if (info.shmaddr) shmdt(info.shmaddr);
    }

    bool Create(std::size_t bytes) {
        info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (info.shmid < 0) return false;
        void* address = shmat(info.shmid, nullptr, 0);
        if (address == reinterpret_cast<void*>(-1)) {
            shmctl(info.shmid, IPC_RMID, nullptr);
            return false;
        }
        info.shmaddr = static_cast<char*>(address);
        info.readOnly = True;
        attach_refused = false;
        const auto previous = XSetErrorHandler(OnAttachError);
        const bool sent = XShmAttach(display, &info);
        XSync(display, False);
        XSetErrorHandler(previous);
        server_attached = sent && !attach_refused;
        // Marked for removal now that both sides hold it: it goes away with the last of them,
        // however the program ends.
        shmctl(info.shmid, IPC_RMID, nullptr);
        return server_attached;
    }
};

void X11Presenter::ImageDone::operator()(XImage* image) const {
    image->data = nullptr;  // the segment's memory, not Xlib's to free
    XDestroyImage(image);
}

std::unique_ptr<X11Presenter> X11Presenter::Create(Display* display, unsigned long window,
                                                   Size size) {
    if (!display || size.width <= 0 || size.height <= 0 || !XShmQueryExtension(display))
        return nullptr;
    XWindowAttributes attributes;
    // SDL prefers a DirectColor visual where there is one, with colour maps that pass every
    // channel through unchanged: to the pixels it is TrueColor.
    if (!XGetWindowAttributes(display, window, &attributes) || !attributes.visual ||
        (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor)) {
        return nullptr;
    }
    auto segment = std::make_unique<Segment>();
    segment->display = display;
    ImagePtr image(XShmCreateImage(
        display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
        &segment->info, static_cast<unsigned>(size.width), static_cast<unsigned>(size.height)));
    if (!image || !PixelsMatch(*image)) return nullptr;
    if (!segment->Create(static_cast<std::size_t>(image->bytes_per_line) * size.height))
        return nullptr;
    image->data = segment->info.shmaddr;
    return std::make_unique<X11Presenter>(display, window, std::move(segment), std::move(image));
}

X11Presenter::X11Presenter(Display* display, unsigned long window, std::unique_ptr<Segment> segment,
                           ImagePtr image)
    : display_(display),
      window_(window),
      gc_(XCreateGC(display, window, 0, nullptr)),
      segment_(std::move(segment)),
      image_(std::move(image)),
      bounds_{0, 0, image_->width, image_->height} {}

X11Presenter::~X11Presenter() {
    XFreeGC(display_, gc_);
}

void X11Presenter::Put(const gdi::Surface& pixels, Rect area) {
    area = area.Intersect(pixels.Bounds()).Intersect(bounds_);
    if (area.Empty()) return;
    const std::span<char> shared(image_->data,
                                 static_cast<std::size_t>(image_->bytes_per_line) * image_->height);
    for (int y = area.top; y < area.bottom; ++y) {
        const auto row = pixels.Row(y).subspan(area.left, area.Width());
        const auto out = shared.subspan(
            static_cast<std::size_t>(y) * image_->bytes_per_line + area.left * sizeof(gdi::Pixel),
            row.size_bytes());
        std::memcpy(out.data(), row.data(), row.size_bytes());
    }
    Send(area);
}

void X11Presenter::Refresh() {
    Send(bounds_);
}

// No completion event and no wait: the next update of the same pixels is sent after it is
// written, so the screen always ends up with the newest ones.
void X11Presenter::Send(Rect area) {
    XShmPutImage(display_, window_, gc_, image_.get(), area.left, area.top, area.left, area.top,
                 static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()), False);
    XFlush(display_);
}

}  // namespace platform::backend
