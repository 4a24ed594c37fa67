#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

namespace platform::gdi::font_detail {

// A font file that FreeType reads piece by piece into its own buffers instead of mapping it.
// A mapped CJK font stays resident wherever FreeType has looked, and the autohinter looks at a
// great many glyphs while it measures a face: reading keeps only the tables and glyphs in use.
class FontFile {
  public:
    // nullptr if the file cannot be opened.
    static std::unique_ptr<FontFile> Open(const std::string& path);
    ~FontFile();
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    // Arguments for FT_Open_Face; the stream they name lives as long as this object, which
    // must outlive the face.
    FT_Open_Args Arguments();

    // Only Open makes one.
    FontFile(int descriptor, unsigned long size);

  private:
    static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                              unsigned long count);

    int descriptor_;
    FT_StreamRec stream_{};
};

}  // namespace platform::gdi::font_detail
