// The game on damaged copies of its own resources: a picture that cannot be read draws
// nothing, an about box that cannot be read does not open, and nothing else changes.
#include <vector>

#include "platform/res/dialog_template.h"
#include "platform/res/res_file.h"
#include "tests/hardening/resource_set.h"
#include "tests/support/game_fixture.h"

namespace testing_support {
namespace {

using hardening::ResourceEntry;
using platform::res::resource_type::kBitmap;
using platform::res::resource_type::kDialog;

constexpr Point kReelAt[REEL_COUNT] = {{5, 30}, {135, 30}, {265, 30}};
constexpr int kReelSide = 128;
constexpr std::size_t kBitCountAt = 14;  // in the bitmap's info header
constexpr std::size_t kItemCountAt = 8;  // in the dialog template's header
constexpr int kAboutItems = 5;

struct Case {
    const char* name;
    std::uint16_t type;
    std::uint16_t id;
    // Changes the entry in place; false when the entry is not as expected.
    bool (*damage)(ResourceEntry&);
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

const Case kCases[] = {
    {"SymbolDataCutShort", kBitmap, IDB_SYMBOL3,
     [](ResourceEntry& e) {
         e.data.resize(e.data.size() / 2);
         return true;
     }},
    {"SymbolCutInsideItsHeader", kBitmap, IDB_SYMBOL1,
     [](ResourceEntry& e) {
         e.data.resize(20);
         return true;
     }},
    {"SymbolWithSevenBitsAPixel", kBitmap, IDB_SYMBOL5,
     [](ResourceEntry& e) { return hardening::PutU16(e.data, kBitCountAt, 7); }},
    {"BackgroundWithACoreSizedHeader", kBitmap, IDB_BACKGROUND,
     [](ResourceEntry& e) { return hardening::PutU32(e.data, 0, 12); }},
    {"SymbolMissing", kBitmap, IDB_SYMBOL8,
     [](ResourceEntry& e) {
         e.name = platform::res::ResName{999, {}};
         return true;
     }},
    {"AboutBoxItemCountPastItsEnd", kDialog, IDD_ABOUT,
     [](ResourceEntry& e) {
         return hardening::GetU16(e.data, kItemCountAt) == kAboutItems &&
                hardening::PutU16(e.data, kItemCountAt, kAboutItems + 3);
     }},
};

// What a reel's area is expected to show: a symbol, or whatever the client area held before
// any symbol was drawn there.
constexpr int kUnderneath = 0;

class Malformed : public Game, public ::testing::WithParamInterface<Case> {
  protected:
    // The program's resources with the case's damage; fails the test when it cannot be made.
    std::vector<std::byte> Damaged() {
        auto set = hardening::ResourceSet::Read(resources::Embedded());
        if (!set) {
            ADD_FAILURE() << "the embedded resources do not read";
            return {};
        }
        ResourceEntry* entry = set->Find(GetParam().type, GetParam().id);
        if (!entry || !GetParam().damage(*entry)) {
            ADD_FAILURE() << "no entry to damage";
            return {};
        }
        return set->Write();
    }

    bool BrokenPicture(int id) const { return GetParam().type == kBitmap && GetParam().id == id; }

    // The background as drawn, or the erased (black) client area where it could not be.
    void ExpectUnderneath(Point at, int width, int height, const char* what) {
        const platform::res::Image background = Picture(IDB_BACKGROUND);
        const WindowInfo main = Window(kMainTitle);
        int wrong = 0;
        for (int y = at.y; y < at.y + height; y += 7)
            for (int x = at.x; x < at.x + width; x += 7) {
                const auto shown = platform::observe::ClientPixel(main.handle, {x, y});
                if (!shown) continue;
                const platform::gdi::Pixel want = BrokenPicture(IDB_BACKGROUND)
                                                      ? platform::gdi::Rgb(0, 0, 0)
                                                      : background.At(x, y);
                wrong += *shown != want;
            }
        EXPECT_EQ(wrong, 0) << what;
    }

    void ExpectReel(int r, int shows, const char* what) {
        if (shows == kUnderneath)
            ExpectUnderneath(kReelAt[r], kReelSide, kReelSide, what);
        else
            ExpectPictureAt(shows, kReelAt[r], what);
    }
};

TEST_P(Malformed, GameStartsDrawsWhatItCanAndEndsCleanly) {
    const std::vector<std::byte> resources = Damaged();
    ASSERT_FALSE(resources.empty());
    {
        // The damage is the case's alone: the file is well-formed, the entry is not.
        const auto file = platform::res::ResourceFile::Parse(resources);
        ASSERT_FALSE(file.Truncated());
        ASSERT_EQ(file.All().size(),
                  platform::res::ResourceFile::Parse(resources::Embedded()).All().size());
        const auto* entry = file.Find(GetParam().type, GetParam().id, 0x0411);
        if (entry && GetParam().type == kBitmap) {
            ASSERT_FALSE(platform::res::DecodeDib(entry->data)) << "the picture still decodes";
        }
        if (entry && GetParam().type == kDialog) {
            ASSERT_FALSE(platform::res::ParseDialogTemplate(entry->data)) << "the box still reads";
        }
    }
    const bool aboutBroken = GetParam().type == kDialog;

    Look([&] {
        EXPECT_TRUE(IsOpen(kExitTitle));
        EXPECT_TRUE(Window(kMainTitle).enabled);
        ExpectUnderneath({0, 0}, 394, 275, "after start-up");
    });
    PressMain(MouseButton::Right);
    Look([&] {
        EXPECT_EQ(IsOpen(kAboutTitle), !aboutBroken);
        EXPECT_EQ(Window(kMainTitle).enabled, aboutBroken);
    });
    if (!aboutBroken) display.Type(VK_RETURN);
    Look([&] {
        EXPECT_FALSE(IsOpen(kAboutTitle));
        EXPECT_TRUE(Window(kMainTitle).enabled);
        ExpectUnderneath({0, 0}, 394, 275, "after the about box");
    });

    // Nine ticks: every symbol on every reel at least once. A symbol that cannot be drawn
    // leaves the reel showing what it showed before.
    PressMain();
    int shows[REEL_COUNT] = {kUnderneath, kUnderneath, kUnderneath};
    for (int k = 0; k < 9; ++k) {
        for (int r = 0; r < REEL_COUNT; ++r) {
            const int id = IDB_SYMBOL1 + (k + r) % 8;
            if (!BrokenPicture(id)) shows[r] = id;
        }
        Wait(100ms);
        Look([this, k, shows = std::to_array(shows)] {
            const std::string what = "tick " + std::to_string(k);
            for (int r = 0; r < REEL_COUNT; ++r) ExpectReel(r, shows[r], what.c_str());
        });
    }
    PressMain();
    Look([&] {
        EXPECT_TRUE(IsOpen(kStopTitle));
        EXPECT_TRUE(Stopped);
        for (int r = 0; r < REEL_COUNT; ++r) EXPECT_EQ(ReelPos[r], 1 + (9 + r) % 8);
    });
    display.Type(VK_RETURN);
    ConfirmExit();
    const platform::RunResult result = Play(resources);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.atExit.bitmaps, 0u);
}

INSTANTIATE_TEST_SUITE_P(Resources, Malformed, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace testing_support
