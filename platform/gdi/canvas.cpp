#include "platform/gdi/canvas.h"

#include <algorithm>

namespace platform::gdi {

void Copy(const Canvas& target, Point to, const Surface& source, Point from, Size size) {
    if (!target.surface) return;
    // The rectangle in target-surface coordinates, then trimmed by what the source has.
    Rect area = Rect::FromSize({target.origin.x + to.x, target.origin.y + to.y}, size);
    const int dx = area.left - from.x;
    const int dy = area.top - from.y;
    area = area.Intersect(target.clip)
               .Intersect(target.surface->Bounds())
               .Intersect(source.Bounds().Offset(dx, dy));
    if (area.Empty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        auto in = source.Row(y - dy).subspan(area.left - dx, area.Width());
        std::copy(in.begin(), in.end(), target.surface->Row(y).begin() + area.left);
    }
    target.Touched(area);
}

}  // namespace platform::gdi
