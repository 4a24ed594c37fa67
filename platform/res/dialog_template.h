#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/res/res_name.h"

namespace platform::res {

// Ordinals of the predefined control classes in a dialog item's class.
namespace control_class {
inline constexpr std::uint16_t kButton = 0x0080;
inline constexpr std::uint16_t kEdit = 0x0081;
inline constexpr std::uint16_t kStatic = 0x0082;
inline constexpr std::uint16_t kListBox = 0x0083;
inline constexpr std::uint16_t kScrollBar = 0x0084;
inline constexpr std::uint16_t kComboBox = 0x0085;
}  // namespace control_class

// The dialog style bit that says a font follows the title.
inline constexpr std::uint32_t kDsSetFont = 0x40;

struct DialogFont {
    std::uint16_t point_size = 0;
    std::u16string face{};
    friend bool operator==(const DialogFont&, const DialogFont&) = default;
};

struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
    std::uint16_t id = 0;
    ResName window_class{};  // a control_class ordinal or a registered class name
    ResName title{};         // text, or the ordinal of a resource such as an icon
    std::vector<std::byte> creation_data{};
    friend bool operator==(const DialogItem&, const DialogItem&) = default;
};

// A dialog template in the standard (not extended) form. Positions and sizes are in dialog
// units.
struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
    ResName menu{};          // none, an ordinal or a name
    ResName window_class{};  // none means the standard dialog class
    std::u16string title{};
    std::optional<DialogFont> font{};  // present when style has kDsSetFont
    std::vector<DialogItem> items{};
};

// std::nullopt for the extended form and for any template that is cut short.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::byte> bytes);

}  // namespace platform::res
