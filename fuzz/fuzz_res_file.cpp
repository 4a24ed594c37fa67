// The compiled resource file reader: every entry it keeps must lie inside the input, and lookups
// by the ids found must come back with an entry of that type and id.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/res/res_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const auto file = platform::res::ResourceFile::Parse(bytes);

    const std::byte* const begin = bytes.data();
    const std::byte* const end = begin + bytes.size();
    for (const platform::res::Resource& resource : file.All()) {
        const std::byte* const first = resource.data.data();
        if (!resource.data.empty() && (first < begin || first + resource.data.size() > end)) {
            __builtin_trap();
        }
        if (!resource.type.ordinal || !resource.name.ordinal) continue;
        const auto* found =
            file.Find(*resource.type.ordinal, *resource.name.ordinal, resource.language);
        if (!found || !found->type.Is(*resource.type.ordinal) ||
            !found->name.Is(*resource.name.ordinal)) {
            __builtin_trap();
        }
    }
    file.Find(platform::res::resource_type::kBitmap, 101, 0x0411);
    file.Find(platform::res::resource_type::kDialog, 122, 0);
    return 0;
}
