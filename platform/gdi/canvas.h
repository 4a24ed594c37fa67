#pragma once

#include "platform/gdi/surface.h"

namespace platform::gdi {

// Where a device context draws: a surface, the surface position of the context's (0, 0), the
// part of the surface it may touch, and where to record what it changed (window surfaces
// remember their changed area so that it is presented before the program next waits).
struct Canvas {
    Surface* surface = nullptr;
    Point origin;
    Rect clip;
    Rect* changed = nullptr;

    void Touched(Rect area) const {
        if (changed) *changed = changed->Union(area.Intersect(clip));
    }
};

// Copies `size` pixels from `source` at `from` to the canvas at `to` (canvas coordinates),
// clipped on both sides.
void Copy(const Canvas& target, Point to, const Surface& source, Point from, Size size);

}  // namespace platform::gdi
