#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::gdi::font_detail {

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct SizeDone {
    void operator()(FT_Size size) const { FT_Done_Size(size); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDone>;
// One face of a file serves every size and weight drawn from it: each open face reads and
// keeps the file's tables again. The face keeps its file open.
using FacePtr = std::shared_ptr<FT_FaceRec_>;
using SizePtr = std::unique_ptr<FT_SizeRec_, SizeDone>;

// One rendered glyph: 8-bit coverage, rows top-down, placed relative to the pen position on
// the baseline.
struct Glyph {
    int left = 0;  // pen position to the first column
    int top = 0;   // baseline up to the first row
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;  // width * rows values, 0 = none, 255 = full
};

// A FreeType face at one pixel size with every glyph it has rendered so far.
class GlyphCache {
  public:
    GlyphCache(FacePtr face, SizePtr size, bool embolden, int ascent, int descent);

    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }

    // Renders on first use. Characters the face lacks get its missing-glyph box.
    const Glyph& Get(char32_t codepoint);

  private:
    Glyph Render(char32_t codepoint) const;

    FacePtr face_;
    SizePtr size_;  // this cache's scale of the shared face; released before the face
    bool embolden_;
    int ascent_;
    int descent_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// The FreeType library instance; must outlive every face it opened.
class FreeType {
  public:
    // nullptr if FreeType cannot start.
    static std::unique_ptr<FreeType> Start();

    explicit FreeType(LibraryPtr library) : library_(std::move(library)) {}

    // nullptr if the file cannot be opened or the face cannot be scaled to `pixel_height`.
    // A bold request on a face that is not bold itself is emboldened when rendering.
    std::unique_ptr<GlyphCache> Open(const std::string& path, int index, int pixel_height,
                                     bool bold);

  private:
    LibraryPtr library_;
    std::map<std::pair<std::string, int>, FacePtr> faces_;
};

}  // namespace platform::gdi::font_detail
