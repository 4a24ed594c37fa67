#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::res {

// The fixed part of a version record. Versions are four 16-bit parts, two to a DWORD, most
// significant first.
struct FixedFileInfo {
    std::uint32_t struct_version = 0;
    std::uint32_t file_version_ms = 0;
    std::uint32_t file_version_ls = 0;
    std::uint32_t product_version_ms = 0;
    std::uint32_t product_version_ls = 0;
    std::uint32_t flags_mask = 0;
    std::uint32_t flags = 0;
    std::uint32_t os = 0;
    std::uint32_t type = 0;  // 1 is an application
    std::uint32_t subtype = 0;
    std::uint32_t date_ms = 0;
    std::uint32_t date_ls = 0;

    std::array<std::uint16_t, 4> FileVersion() const {
        return Parts(file_version_ms, file_version_ls);
    }
    std::array<std::uint16_t, 4> ProductVersion() const {
        return Parts(product_version_ms, product_version_ls);
    }

  private:
    static std::array<std::uint16_t, 4> Parts(std::uint32_t ms, std::uint32_t ls) {
        return {static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)};
    }
};

// One block of StringFileInfo; its key names the language and code page, e.g. u"041104b0".
struct StringTable {
    std::u16string key{};
    std::vector<std::pair<std::u16string, std::u16string>> strings{};  // in file order

    const std::u16string* Find(std::u16string_view name) const;
};

struct VersionInfo {
    std::optional<FixedFileInfo> fixed{};
    std::vector<StringTable> string_tables{};
    // From VarFileInfo's Translation: language in the low word, code page in the high word.
    std::vector<std::uint32_t> translations{};

    const StringTable* FindTable(std::u16string_view key) const;
};

// Parses the data of a version resource (a VS_VERSION_INFO block). Blocks other than
// StringFileInfo and VarFileInfo are skipped; any block whose lengths do not fit its parent
// makes the whole record fail.
std::optional<VersionInfo> ParseVersionInfo(std::span<const std::byte> bytes);

}  // namespace platform::res
