// An editable copy of a compiled resource file (.res), for building damaged variants of the
// program's own resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/res/res_name.h"

namespace hardening {

struct ResourceEntry {
    platform::res::ResName type;
    platform::res::ResName name;
    std::uint16_t language = 0;
    std::uint16_t memory_flags = 0;
    std::vector<std::byte> data;
};

// Read with the platform's own reader; written back in the standard layout (the empty marker
// entry first, each header and each entry's data padded to a DWORD) with every size recomputed,
// so that an entry's data may be cut or changed freely and the file stays well-formed.
class ResourceSet {
  public:
    // std::nullopt when the reader stopped at a malformed entry.
    static std::optional<ResourceSet> Read(std::span<const std::byte> res);

    // The entry of a numeric type and id, of any language.
    ResourceEntry* Find(std::uint16_t type, std::uint16_t id);
    std::vector<std::byte> Write() const;

  private:
    std::vector<ResourceEntry> entries_;
};

// Little-endian fields inside a buffer; each fails (false or std::nullopt) when the field does
// not lie wholly inside it.
std::optional<std::uint16_t> GetU16(std::span<const std::byte> bytes, std::size_t at);
bool PutU16(std::span<std::byte> bytes, std::size_t at, std::uint16_t value);
bool PutU32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value);

}  // namespace hardening
