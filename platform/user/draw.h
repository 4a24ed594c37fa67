// Small drawing helpers for the classic look of frames and controls.
#pragma once

#include "platform/gdi/canvas.h"

namespace platform::user::draw {

// A one-pixel outline: top and left in `topLeft`, bottom and right in `bottomRight`.
void Edge(gdi::Surface& pixels, Rect area, Rect clip, gdi::Pixel topLeft, gdi::Pixel bottomRight);
// The two-line raised edge of a button or frame; returns the area inside it.
Rect Raised(gdi::Surface& pixels, Rect area, Rect clip, bool frame);
void Fill(gdi::Surface& pixels, Rect area, Rect clip, gdi::Pixel color);
// A dotted rectangle, as the focused control shows.
void FocusRect(gdi::Surface& pixels, Rect area, Rect clip);

}  // namespace platform::user::draw
