#include "platform/gdi/font/font.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>

#include "platform/gdi/font/face_finder.h"
#include "platform/gdi/font/glyph_cache.h"
#include "platform/text/encoding.h"

namespace platform::gdi {
namespace {

using font_detail::Glyph;

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int ClampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::uint32_t BlendChannel(int under, int over, int alpha) {
    return static_cast<std::uint32_t>((under * (255 - alpha) + over * alpha + 127) / 255);
}

// Blends `glyph` with its top-left column at (x, y) into the part of `area` it covers. The
// position is 64-bit because text may be drawn far off the surface.
void BlendGlyph(Surface& target, const Rect& area, long long x, long long y, const Glyph& glyph,
                Pixel color) {
    const long long left = std::max<long long>(x, area.left);
    const long long top = std::max<long long>(y, area.top);
    const long long right = std::min<long long>(x + glyph.width, area.right);
    const long long bottom = std::min<long long>(y + glyph.rows, area.bottom);
    if (left >= right || top >= bottom) return;

    const int r = Red(color), g = Green(color), b = Blue(color);
    for (long long py = top; py < bottom; ++py) {
        const auto row = target.Row(static_cast<int>(py));
        const std::size_t source = static_cast<std::size_t>(py - y) * glyph.width;
        for (long long px = left; px < right; ++px) {
            const int alpha = glyph.coverage[source + static_cast<std::size_t>(px - x)];
            if (alpha == 0) continue;
            Pixel& pixel = row[static_cast<std::size_t>(px)];
            if (alpha == 255) {
                pixel = color;
                continue;
            }
            pixel = (BlendChannel(Red(pixel), r, alpha) << 16) |
                    (BlendChannel(Green(pixel), g, alpha) << 8) |
                    BlendChannel(Blue(pixel), b, alpha);
        }
    }
}

}  // namespace

Font::Font(std::unique_ptr<font_detail::GlyphCache> glyphs, std::string family)
    : glyphs_(std::move(glyphs)), family_(std::move(family)) {
    const int count = static_cast<int>(kAlphabet.size());
    average_char_width_ = (TextWidth(kAlphabet) + count / 2) / count;
}

Font::~Font() = default;

int Font::Ascent() const {
    return glyphs_->Ascent();
}

int Font::Height() const {
    return glyphs_->Ascent() + glyphs_->Descent();
}

int Font::TextWidth(std::string_view utf8) const {
    long long width = 0;
    for (char32_t cp : text::Utf8ToCodepoints(utf8)) width += glyphs_->Get(cp).advance;
    return ClampToInt(width);
}

void Font::Draw(Surface& target, Rect clip, Point at, std::string_view utf8, Pixel color) const {
    const Rect area = clip.Intersect(target.Bounds());
    if (area.Empty()) return;
    long long pen = at.x;
    const long long baseline = static_cast<long long>(at.y) + Ascent();
    for (char32_t cp : text::Utf8ToCodepoints(utf8)) {
        const Glyph& glyph = glyphs_->Get(cp);
        BlendGlyph(target, area, pen + glyph.left, baseline - glyph.top, glyph, color);
        pen += glyph.advance;
    }
}

std::unique_ptr<FontLibrary> FontLibrary::Create() {
    auto freetype = font_detail::FreeType::Start();
    if (!freetype) return nullptr;
    auto finder = font_detail::FaceFinder::Create();
    if (!finder) return nullptr;
    return std::make_unique<FontLibrary>(std::move(freetype), std::move(finder));
}

FontLibrary::FontLibrary(std::unique_ptr<font_detail::FreeType> freetype,
                         std::unique_ptr<font_detail::FaceFinder> finder)
    : freetype_(std::move(freetype)), finder_(std::move(finder)) {}

FontLibrary::~FontLibrary() = default;

const Font* FontLibrary::Get(std::string_view faceUtf8, int pixelHeight, bool bold) {
    Request request{std::string(faceUtf8), pixelHeight, bold};
    if (auto it = requests_.find(request); it != requests_.end()) return it->second;
    const Font* font = Resolve(faceUtf8, pixelHeight, bold);
    requests_.emplace(std::move(request), font);
    return font;
}

const Font* FontLibrary::Resolve(std::string_view face, int pixel_height, bool bold) {
    if (pixel_height < 1 || pixel_height > kMaxPixelHeight) return nullptr;
    const std::optional<font_detail::FaceFile> file = finder_->Find(face, bold);
    if (!file) return nullptr;

    Resolved key{file->path, file->index, pixel_height, bold};
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
    auto glyphs = freetype_->Open(file->path, file->index, pixel_height, bold);
    if (!glyphs) return nullptr;
    auto font = std::make_unique<Font>(std::move(glyphs), file->family);
    const Font* result = font.get();
    fonts_.emplace(std::move(key), std::move(font));
    return result;
}

}  // namespace platform::gdi
