// The version record parser, with the lookups the about box makes on its result.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/res/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto info = platform::res::ParseVersionInfo(std::as_bytes(std::span(data, size)));
    if (!info) return 0;
    if (info->fixed) {
        info->fixed->FileVersion();
        info->fixed->ProductVersion();
    }
    for (const platform::res::StringTable& table : info->string_tables) {
        if (info->FindTable(table.key) == nullptr) __builtin_trap();
        for (const auto& [name, value] : table.strings) {
            const std::u16string* found = table.Find(name);
            if (found == nullptr) __builtin_trap();
        }
    }
    if (const auto* table = info->FindTable(u"041104b0")) table->Find(u"ProductName");
    return 0;
}
