#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/res/res_name.h"

namespace platform::res {

// Numeric resource types the program uses.
namespace resource_type {
inline constexpr std::uint16_t kBitmap = 2;
inline constexpr std::uint16_t kDialog = 5;
inline constexpr std::uint16_t kVersion = 16;
}  // namespace resource_type

struct Resource {
    ResName type{};
    ResName name{};
    std::uint16_t language = 0;
    std::uint16_t memory_flags = 0;
    // Points into the bytes the file was parsed from.
    std::span<const std::byte> data{};
};

// The entries of a compiled resource file (.res).
class ResourceFile {
  public:
    // Reads every well-formed entry; stops at the first malformed header or an entry whose data
    // runs past the end, keeping the entries before it (Truncated() tells). `bytes` must outlive
    // the result, whose spans point into it.
    static ResourceFile Parse(std::span<const std::byte> bytes);

    std::span<const Resource> All() const { return resources_; }
    bool Truncated() const { return truncated_; }

    // Numeric type and id; prefers `language`, else the first entry of any language.
    const Resource* Find(std::uint16_t type, std::uint16_t id, std::uint16_t language) const;

  private:
    std::vector<Resource> resources_;
    bool truncated_ = false;
};

}  // namespace platform::res
