// A picture from the program's own resources, decoded, for tests that compare pixels with it.
#pragma once

#include "platform/res/dib.h"
#include "platform/res/res_file.h"
#include "resources/embedded.h"

namespace testing_support {

// The bitmap with this resource id; an empty image when there is none.
inline platform::res::Image Picture(int id) {
    const auto file = platform::res::ResourceFile::Parse(resources::Embedded());
    const auto* resource =
        file.Find(platform::res::resource_type::kBitmap, static_cast<std::uint16_t>(id), 0x0411);
    if (!resource) return {};
    return platform::res::DecodeDib(resource->data).value_or(platform::res::Image{});
}

}  // namespace testing_support
