#include "platform/gdi/font/font.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace platform::gdi {
namespace {

constexpr Pixel kWhite = Rgb(255, 255, 255);
constexpr Pixel kBlack = Rgb(0, 0, 0);
constexpr int kElevenPoint = 15;  // 11 pt at 96 dpi, rounded

// Asks fontconfig itself, with a configuration of its own, whether any installed font of
// `family` covers Japanese.
bool FamilyCoversJapanese(const std::string& family) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return found;
}

Surface Render(const Font& font, std::string_view text, Point at, Pixel background = kWhite) {
    Surface surface(120, 40, background);
    font.Draw(surface, surface.Bounds(), at, text, kBlack);
    return surface;
}

// The smallest rectangle holding every pixel that differs from `background`.
Rect InkBox(const Surface& surface, Pixel background) {
    Rect box;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if (surface.At(x, y) != background) box = box.Union({x, y, x + 1, y + 1});
        }
    }
    return box;
}

int InkCount(const Surface& surface, Pixel background) {
    int count = 0;
    for (Pixel p : surface.Data()) count += p != background;
    return count;
}

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library_ = FontLibrary::Create();
        ASSERT_NE(library_, nullptr);
        gothic_ = library_->Get("ＭＳ ゴシック", kElevenPoint);
        ASSERT_NE(gothic_, nullptr);
    }

    std::unique_ptr<FontLibrary> library_;
    const Font* gothic_ = nullptr;
};

TEST_F(FontTest, EveryNameResolvesToAFaceThatDrawsJapanese) {
    static const struct {
        const char* label;
        const char* face;
    } cases[] = {
        {"dialog face", "ＭＳ ゴシック"},
        {"proportional variant", "ＭＳ Ｐゴシック"},
        {"unknown name", "No Such Face 12345"},
        // Installed, but without a single kana: fontconfig would happily return it.
        {"latin-only face", "DejaVu Sans"},
        {"empty name", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Font* font = library_->Get(c.face, kElevenPoint);
        ASSERT_NE(font, nullptr);
        EXPECT_TRUE(FamilyCoversJapanese(std::string(font->FamilyName()))) << font->FamilyName();
        // A face without these kanji would draw the same missing-glyph box for both.
        const Surface setsu = Render(*font, "説", {0, 0});
        const Surface mei = Render(*font, "明", {0, 0});
        EXPECT_GT(InkCount(setsu, kWhite), 20);
        EXPECT_FALSE(std::equal(setsu.Data().begin(), setsu.Data().end(), mei.Data().begin()));
    }
}

TEST(FontLibraryTest, NoJapaneseFontMeansNoFont) {
    // A configuration that knows only the DejaVu faces, none of which has Japanese.
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / ("fc-latin-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                         "<dir>/usr/share/fonts/truetype/dejavu</dir>\n<cachedir>"
                                      << (dir / "cache").string() << "</cachedir>\n</fontconfig>\n";
    const char* previous = std::getenv("FONTCONFIG_FILE");
    const std::optional<std::string> saved =
        previous ? std::optional<std::string>(previous) : std::nullopt;
    setenv("FONTCONFIG_FILE", (dir / "fonts.conf").c_str(), 1);
    auto library = FontLibrary::Create();
    if (saved) {
        setenv("FONTCONFIG_FILE", saved->c_str(), 1);
    } else {
        unsetenv("FONTCONFIG_FILE");
    }
    std::filesystem::remove_all(dir);

    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->Get("DejaVu Sans", kElevenPoint), nullptr);
    EXPECT_EQ(library->Get("ＭＳ ゴシック", kElevenPoint), nullptr);
}

TEST_F(FontTest, RejectsSizesOutsideRange) {
    EXPECT_EQ(library_->Get("ＭＳ ゴシック", 0), nullptr);
    EXPECT_EQ(library_->Get("ＭＳ ゴシック", -15), nullptr);
    EXPECT_EQ(library_->Get("ＭＳ ゴシック", FontLibrary::kMaxPixelHeight + 1), nullptr);
    EXPECT_NE(library_->Get("ＭＳ ゴシック", 1), nullptr);
}

TEST_F(FontTest, RepeatedRequestsReturnTheSameFont) {
    EXPECT_EQ(library_->Get("ＭＳ ゴシック", kElevenPoint), gothic_);
    EXPECT_NE(library_->Get("ＭＳ ゴシック", 12), gothic_);
    const Font* bold = library_->Get("ＭＳ ゴシック", kElevenPoint, true);
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(bold, gothic_);
    EXPECT_EQ(library_->Get("ＭＳ ゴシック", kElevenPoint, true), bold);
}

TEST_F(FontTest, MetricsAreSaneForElevenPoint) {
    EXPECT_GE(gothic_->Height(), 15);
    EXPECT_LE(gothic_->Height(), 20);
    EXPECT_GT(gothic_->Ascent(), gothic_->Height() / 2);
    EXPECT_LT(gothic_->Ascent(), gothic_->Height());
    EXPECT_GE(gothic_->AverageCharWidth(), 5);
    EXPECT_LE(gothic_->AverageCharWidth(), 10);

    const Font* small = library_->Get("ＭＳ ゴシック", 12);
    ASSERT_NE(small, nullptr);
    EXPECT_LT(small->Height(), gothic_->Height());
    EXPECT_LE(small->AverageCharWidth(), gothic_->AverageCharWidth());
}

TEST_F(FontTest, TextWidthGrowsWithText) {
    EXPECT_EQ(gothic_->TextWidth(""), 0);
    const int one = gothic_->TextWidth("説");
    EXPECT_GE(one, kElevenPoint - 1);  // full-width kanji are about one em
    EXPECT_LE(one, kElevenPoint + 1);
    EXPECT_GT(gothic_->TextWidth("説明"), one);
    EXPECT_GT(gothic_->TextWidth("説明です。"), gothic_->TextWidth("説明"));
    EXPECT_LT(gothic_->TextWidth("OK"), gothic_->TextWidth("ＯＫ"));
    EXPECT_GT(gothic_->TextWidth("\xff"), 0);  // invalid bytes still take room
}

TEST_F(FontTest, BoldDrawsMoreInk) {
    const Font* bold = library_->Get("ＭＳ ゴシック", kElevenPoint, true);
    ASSERT_NE(bold, nullptr);
    EXPECT_GT(InkCount(Render(*bold, "説明", {2, 2}), kWhite),
              InkCount(Render(*gothic_, "説明", {2, 2}), kWhite));
}

TEST_F(FontTest, InkStaysInsideTheTextBox) {
    const Point at{10, 5};
    const Surface surface = Render(*gothic_, "説明", at);
    const Rect ink = InkBox(surface, kWhite);
    ASSERT_FALSE(ink.Empty());
    const Rect box{at.x, at.y, at.x + gothic_->TextWidth("説明"), at.y + gothic_->Height()};
    EXPECT_EQ(ink.Intersect(box), ink)
        << "ink " << ink.left << "," << ink.top << " - " << ink.right << "," << ink.bottom;
    // Two kanji fill most of their box: ink starts near the origin and reaches the far end.
    EXPECT_LE(ink.left, at.x + 2);
    EXPECT_GE(ink.right, box.right - 3);
    EXPECT_LE(ink.top, at.y + gothic_->Ascent() - 9);
}

TEST_F(FontTest, ClipKeepsPixelsOutsideUntouched) {
    const Point at{10, 5};
    const Surface full = Render(*gothic_, "説明", at);
    // Cuts through both the first kanji and the line vertically.
    const Rect clip{14, 9, 30, 15};
    Surface clipped(full.Width(), full.Height(), kWhite);
    gothic_->Draw(clipped, clip, at, "説明", kBlack);
    int ink_inside = 0;
    for (int y = 0; y < full.Height(); ++y) {
        for (int x = 0; x < full.Width(); ++x) {
            if (clip.Contains({x, y})) {
                EXPECT_EQ(clipped.At(x, y), full.At(x, y)) << x << "," << y;
                ink_inside += clipped.At(x, y) != kWhite;
            } else {
                EXPECT_EQ(clipped.At(x, y), kWhite) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink_inside, 10);
}

TEST_F(FontTest, BlendsColourPerChannel) {
    // Every touched pixel lies between background and text colour by one coverage for all
    // three channels, which differ in both colours so that a mixed-up channel shows.
    const Pixel background = Rgb(0, 40, 200);
    const Pixel color = Rgb(240, 160, 0);
    Surface surface(60, 30, background);
    gothic_->Draw(surface, surface.Bounds(), {2, 2}, "説明", color);
    int solid = 0;
    int partial = 0;
    for (Pixel p : surface.Data()) {
        const double coverage = Red(p) / 240.0;
        EXPECT_NEAR(Green(p), 40 + 120 * coverage, 1.5);
        EXPECT_NEAR(Blue(p), 200 - 200 * coverage, 1.5);
        solid += p == color;
        partial += p != color && p != background;
    }
    EXPECT_GT(solid, 20);
    EXPECT_GT(partial, 0);
}

TEST_F(FontTest, DrawingOffTheSurfaceIsSafe) {
    static const struct {
        const char* label;
        Point at;
        Rect clip;  // {} means the whole surface
        const char* text;
        bool expect_ink;
    } cases[] = {
        {"far above left", {-1000, -1000}, {}, "説明", false},
        {"partly above left", {-6, -4}, {}, "説明", true},
        {"partly below right", {50, 30}, {}, "説明", true},
        {"far below right", {1000, 1000}, {}, "説明", false},
        {"most negative", {INT_MIN, INT_MIN}, {}, "説明説明", false},
        {"most positive", {INT_MAX - 1, INT_MAX - 1}, {}, "説明説明", false},
        {"ends past int range", {INT_MAX - 20, 0}, {}, "説明説明", false},
        {"clip larger than surface", {-6, -4}, {-500, -500, 500, 500}, "説明", true},
        {"clip off the surface", {0, 0}, {100, 100, 200, 200}, "説明", false},
        {"inverted clip", {0, 0}, {40, 20, 0, 0}, "説明", false},
        {"invalid utf-8", {2, 2}, {}, "\xe8\xaa\xff\x80", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Surface surface(64, 32, kWhite);
        const Rect clip = c.clip == Rect{} ? surface.Bounds() : c.clip;
        gothic_->Draw(surface, clip, c.at, c.text, kBlack);
        EXPECT_EQ(InkCount(surface, kWhite) > 0, c.expect_ink);
    }
    Surface empty;
    gothic_->Draw(empty, {0, 0, 10, 10}, {0, 0}, "説明", kBlack);
}

}  // namespace
}  // namespace platform::gdi
