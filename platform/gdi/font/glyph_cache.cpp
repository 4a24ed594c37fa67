#include "platform/gdi/font/glyph_cache.h"

#include FT_BITMAP_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <utility>

#include "platform/gdi/font/font_file.h"

namespace platform::gdi::font_detail {
namespace {

// A face with the file it reads from, done before the file closes.
struct OpenFace {
    std::unique_ptr<FontFile> file;
    std::unique_ptr<FT_FaceRec_, FaceDone> face;
};

// FreeType's own hinter on both axes with grey antialiasing: at 11-12 px it snaps the vertical
// stems of kanji to whole pixels, where the fonts' bytecode (run by FreeType's interpreter, which
// leaves the horizontal axis alone) spreads them grey over two columns.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT;
constexpr FT_Render_Mode kRenderMode = FT_RENDER_MODE_NORMAL;

int RoundUnits(long units, long units_per_em, int pixel_height) {
    return static_cast<int>(
        std::lround(static_cast<double>(units) * pixel_height / static_cast<double>(units_per_em)));
}

struct VerticalMetrics {
    int ascent = 0;
    int descent = 0;
};

// Windows lays text out with the OS/2 table's usWinAscent/usWinDescent, so dialogs designed
// there fit only with those; other faces fall back to FreeType's scaled metrics.
VerticalMetrics MetricsOf(FT_Face face, int pixel_height) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && face->units_per_EM > 0 &&
        os2->usWinAscent + os2->usWinDescent > 0) {
        return {RoundUnits(os2->usWinAscent, face->units_per_EM, pixel_height),
                RoundUnits(os2->usWinDescent, face->units_per_EM, pixel_height)};
    }
    const FT_Size_Metrics& m = face->size->metrics;
    return {static_cast<int>((m.ascender + 63) >> 6), static_cast<int>((-m.descender + 63) >> 6)};
}

// Asks the file rather than fontconfig, whose answer for a bold request is the requested weight.
bool IsBold(FT_Face face) {
    if (face->style_flags & FT_STYLE_FLAG_BOLD) return true;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600;
}

// Copies a rendered bitmap into 8-bit coverage, whatever its pixel mode and row order.
bool CopyCoverage(FT_Library library, const FT_Bitmap& source, Glyph& glyph) {
    FT_Bitmap gray;
    FT_Bitmap_Init(&gray);
    const FT_Bitmap* bitmap = &source;
    if (source.pixel_mode != FT_PIXEL_MODE_GRAY) {
        if (FT_Bitmap_Convert(library, &source, &gray, 1) != 0) {
            FT_Bitmap_Done(library, &gray);
            return false;
        }
        bitmap = &gray;
    }
    const int levels = bitmap->num_grays > 1 ? bitmap->num_grays - 1 : 1;
    glyph.width = static_cast<int>(bitmap->width);
    glyph.rows = static_cast<int>(bitmap->rows);
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
    const std::size_t pitch = static_cast<std::size_t>(std::abs(bitmap->pitch));
    if (!glyph.coverage.empty() && (!bitmap->buffer || pitch < bitmap->width)) {
        FT_Bitmap_Done(library, &gray);
        return false;
    }
    for (int y = 0; y < glyph.rows; ++y) {
        // A negative pitch means the buffer holds the rows bottom-up.
        const int stored_row = bitmap->pitch < 0 ? glyph.rows - 1 - y : y;
        std::span<const unsigned char> row(bitmap->buffer + stored_row * pitch,
                                           static_cast<std::size_t>(glyph.width));
        for (int x = 0; x < glyph.width; ++x) {
            glyph.coverage[static_cast<std::size_t>(y) * glyph.width + x] =
                static_cast<std::uint8_t>(std::min(255, row[x] * 255 / levels));
        }
    }
    FT_Bitmap_Done(library, &gray);
    return true;
}

}  // namespace

std::unique_ptr<FreeType> FreeType::Start() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    return std::make_unique<FreeType>(LibraryPtr(library));
}

std::unique_ptr<GlyphCache> FreeType::Open(const std::string& path, int index, int pixel_height,
                                           bool bold) {
    FacePtr& face = faces_[{path, index}];
    if (!face) {
        auto file = FontFile::Open(path);
        FT_Face raw = nullptr;
        FT_Open_Args arguments = file ? file->Arguments() : FT_Open_Args{};
        if (!file || FT_Open_Face(library_.get(), &arguments, index, &raw) != 0) {
            faces_.erase({path, index});
            return nullptr;
        }
        auto open = std::make_shared<OpenFace>(std::move(file), decltype(OpenFace::face)(raw));
        face = FacePtr(open, raw);
    }
    FT_Size raw_size = nullptr;
    if (FT_New_Size(face.get(), &raw_size) != 0) return nullptr;
    SizePtr size(raw_size);
    if (FT_Activate_Size(size.get()) != 0 ||
        FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixel_height)) != 0) {
        return nullptr;
    }
    const VerticalMetrics metrics = MetricsOf(face.get(), pixel_height);
    const bool embolden = bold && !IsBold(face.get());
    return std::make_unique<GlyphCache>(face, std::move(size), embolden, metrics.ascent,
                                        metrics.descent);
}

GlyphCache::GlyphCache(FacePtr face, SizePtr size, bool embolden, int ascent, int descent)
    : face_(std::move(face)),
      size_(std::move(size)),
      embolden_(embolden),
      ascent_(ascent),
      descent_(descent) {}

const Glyph& GlyphCache::Get(char32_t codepoint) {
    auto it = glyphs_.find(codepoint);
    if (it == glyphs_.end()) it = glyphs_.emplace(codepoint, Render(codepoint)).first;
    return it->second;
}

Glyph GlyphCache::Render(char32_t codepoint) const {
    Glyph glyph;
    FT_Face face = face_.get();
    if (FT_Activate_Size(size_.get()) != 0) return glyph;
    const FT_UInt index = FT_Get_Char_Index(face, codepoint);
    if (FT_Load_Glyph(face, index, kLoadFlags) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (embolden_) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, kRenderMode) != 0) {
        return glyph;
    }
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (!CopyCoverage(slot->library, slot->bitmap, glyph)) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    return glyph;
}

}  // namespace platform::gdi::font_detail
