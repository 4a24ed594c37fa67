#include "platform/gdi/font/face_finder.h"

#include <string_view>
#include <utility>

#include "platform/text/encoding.h"

namespace platform::gdi::font_detail {
namespace {

const FcChar8* Fc(const char* s) {
    return reinterpret_cast<const FcChar8*>(s);
}

constexpr const char* kJapanese = "ja";

}  // namespace

std::unique_ptr<FaceFinder> FaceFinder::Create() {
    ConfigPtr config(FcInitLoadConfigAndFonts());
    if (!config) return nullptr;

    // Kana of both kinds, common kanji and full-width letters: what every text of the game uses.
    CharSetPtr japanese(FcCharSetCreate());
    if (!japanese) return nullptr;
    for (char32_t cp : text::Utf8ToCodepoints("あのアポ説明現在開発中終了押ＯＫ、。ー")) {
        if (!FcCharSetAddChar(japanese.get(), cp)) return nullptr;
    }
    return std::make_unique<FaceFinder>(std::move(config), std::move(japanese));
}

FaceFinder::FaceFinder(ConfigPtr config, CharSetPtr japanese)
    : config_(std::move(config)), japanese_(std::move(japanese)) {}

PatternPtr FaceFinder::MakePattern(const char* family, bool bold) const {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    if (!FcPatternAddString(pattern.get(), FC_FAMILY, Fc(family)) ||
        !FcPatternAddString(pattern.get(), FC_LANG, Fc(kJapanese)) ||
        !FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR)) {
        return nullptr;
    }
    if (!FcConfigSubstitute(config_.get(), pattern.get(), FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

bool FaceFinder::CoversJapanese(const FcPattern& font) const {
    // Both getters only read; fontconfig's signatures lack const.
    auto* pattern = const_cast<FcPattern*>(&font);
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(pattern, FC_LANG, 0, &langs) == FcResultMatch &&
        FcLangSetHasLang(langs, Fc(kJapanese)) == FcLangEqual) {
        return true;
    }
    FcCharSet* chars = nullptr;
    return FcPatternGetCharSet(pattern, FC_CHARSET, 0, &chars) == FcResultMatch &&
           FcCharSetIsSubset(japanese_.get(), chars);
}

std::optional<FaceFile> FaceFinder::Describe(const FcPattern& font) const {
    auto* pattern = const_cast<FcPattern*>(&font);
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || !file) {
        return std::nullopt;
    }
    FaceFile face;
    face.path = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &face.index) != FcResultMatch) face.index = 0;
    FcChar8* family = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch && family) {
        face.family = reinterpret_cast<const char*>(family);
    }
    return face;
}

std::optional<FaceFile> FaceFinder::Find(std::string_view family, bool bold) const {
    // The name goes into a C string; anything after an embedded NUL is not part of a name.
    const std::string name(family.substr(0, family.find('\0')));
    if (!name.empty()) {
        if (PatternPtr pattern = MakePattern(name.c_str(), bold)) {
            FcResult result = FcResultNoMatch;
            PatternPtr match(FcFontMatch(config_.get(), pattern.get(), &result));
            if (match && CoversJapanese(*match)) return Describe(*match);
        }
    }

    // Unknown name or a face without Japanese: walk every font in order of preference for a
    // Japanese sans-serif and take the first that really covers Japanese.
    PatternPtr pattern = MakePattern("sans-serif", bold);
    if (!pattern) return std::nullopt;
    FcResult result = FcResultNoMatch;
    FontSetPtr sorted(FcFontSort(config_.get(), pattern.get(), FcFalse, nullptr, &result));
    if (!sorted) return std::nullopt;
    for (int i = 0; i < sorted->nfont; ++i) {
        if (!CoversJapanese(*sorted->fonts[i])) continue;
        PatternPtr prepared(FcFontRenderPrepare(config_.get(), pattern.get(), sorted->fonts[i]));
        if (prepared) return Describe(*prepared);
    }
    return std::nullopt;
}

}  // namespace platform::gdi::font_detail
