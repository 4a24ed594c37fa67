#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::res {

// A resource type or name, a dialog's menu or class, a control's class or title: either a
// numeric ordinal or a UTF-16 string. Neither (no ordinal, empty string) means "none".
struct ResName {
    std::optional<std::uint16_t> ordinal{};
    std::u16string name{};

    bool Is(std::uint16_t id) const { return ordinal == id; }
    bool IsNone() const { return !ordinal && name.empty(); }
    friend bool operator==(const ResName&, const ResName&) = default;
};

}  // namespace platform::res
