#pragma once

#include <compare>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/surface.h"
#include "platform/geometry.h"

namespace platform::gdi {

namespace font_detail {
class FaceFinder;
class FreeType;
class GlyphCache;
}  // namespace font_detail

// One face at one pixel size. Glyphs are rendered on first use and kept, so drawing the same
// labels again only blends cached coverage. The cache fills during const calls, so a Font
// belongs to one thread.
class Font {
  public:
    // Fonts come from FontLibrary::Get; the glyph cache type is internal to this library.
    Font(std::unique_ptr<font_detail::GlyphCache> glyphs, std::string family);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Height() const;  // line height in pixels (ascent + descent)
    int Ascent() const;
    // Width of the 52 Latin letters divided by 52, rounded.
    int AverageCharWidth() const { return average_char_width_; }
    // Advance width of one line of text.
    int TextWidth(std::string_view utf8) const;
    // Draws one line with its top-left at `at` (baseline at at.y + Ascent()), blending each
    // glyph's grey coverage in `color` over the pixels. Touches no pixel outside `clip` or
    // outside the surface.
    void Draw(Surface& target, Rect clip, Point at, std::string_view utf8, Pixel color) const;
    // The family fontconfig actually gave, which need not be the one asked for.
    std::string_view FamilyName() const { return family_; }

  private:
    std::unique_ptr<font_detail::GlyphCache> glyphs_;
    std::string family_;
    int average_char_width_ = 0;
};

// Owns FreeType, the fontconfig configuration and every font; one per program run. Fonts stay
// valid as long as the library.
class FontLibrary {
  public:
    // nullptr if FreeType or fontconfig cannot start.
    static std::unique_ptr<FontLibrary> Create();

    // Use Create(); the parts are internal to this library.
    FontLibrary(std::unique_ptr<font_detail::FreeType> freetype,
                std::unique_ptr<font_detail::FaceFinder> finder);
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The face named `faceUtf8` with Japanese as the language, or any Japanese gothic face when
    // that name is unknown or cannot show Japanese. `pixelHeight` is the em size in pixels
    // (points * 96 / 72). nullptr when no installed font covers Japanese, or when the size is
    // not in 1..kMaxPixelHeight. Results, including nullptr, are cached per request.
    const Font* Get(std::string_view faceUtf8, int pixelHeight, bool bold = false);

    static constexpr int kMaxPixelHeight = 1024;

  private:
    struct Request {
        std::string face;
        int pixel_height = 0;
        bool bold = false;
        auto operator<=>(const Request&) const = default;
    };
    // Different names often resolve to the same file; they share one Font and its glyphs.
    struct Resolved {
        std::string path;
        int index = 0;
        int pixel_height = 0;
        bool bold = false;
        auto operator<=>(const Resolved&) const = default;
    };

    const Font* Resolve(std::string_view face, int pixel_height, bool bold);

    // Declared first so that it is destroyed after every face it opened.
    std::unique_ptr<font_detail::FreeType> freetype_;
    std::unique_ptr<font_detail::FaceFinder> finder_;
    std::map<Resolved, std::unique_ptr<Font>> fonts_;
    std::map<Request, const Font*> requests_;
};

}  // namespace platform::gdi
