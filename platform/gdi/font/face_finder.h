#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::gdi::font_detail {

struct ConfigDestroy {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDestroy {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDestroy {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct CharSetDestroy {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDestroy>;
using PatternPtr = std::unique_ptr<FcPattern, PatternDestroy>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDestroy>;
using CharSetPtr = std::unique_ptr<FcCharSet, CharSetDestroy>;

// A font file chosen by fontconfig.
struct FaceFile {
    std::string path;
    int index = 0;       // face within a collection
    std::string family;  // first family name of the chosen font
};

// Chooses installed fonts through fontconfig, accepting only faces that can show Japanese:
// fontconfig always answers with some font, often one without a single kana.
class FaceFinder {
  public:
    // nullptr when fontconfig cannot load its configuration.
    static std::unique_ptr<FaceFinder> Create();

    FaceFinder(ConfigPtr config, CharSetPtr japanese);

    // The font named `family` (UTF-8) if it covers Japanese, else the best Japanese sans-serif
    // face, else std::nullopt.
    std::optional<FaceFile> Find(std::string_view family, bool bold) const;

  private:
    PatternPtr MakePattern(const char* family, bool bold) const;
    std::optional<FaceFile> Describe(const FcPattern& font) const;
    bool CoversJapanese(const FcPattern& font) const;

    ConfigPtr config_;
    CharSetPtr japanese_;  // characters a face must have for the game's texts
};

}  // namespace platform::gdi::font_detail
