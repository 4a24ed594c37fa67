#include "tests/hardening/resource_set.h"

#include "platform/res/res_file.h"

namespace hardening {
namespace {

class Writer {
  public:
    void U16(std::uint16_t v) {
        bytes_.push_back(std::byte(v & 0xFF));
        bytes_.push_back(std::byte(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Name(const platform::res::ResName& name) {
        if (name.ordinal) {
            U16(0xFFFF);
            U16(*name.ordinal);
            return;
        }
        for (char16_t unit : name.name) U16(static_cast<std::uint16_t>(unit));
        U16(0);
    }
    void Append(std::span<const std::byte> more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
    }
    void Align4() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(std::byte{0});
    }
    std::size_t Size() const { return bytes_.size(); }
    std::vector<std::byte> Take() { return std::move(bytes_); }

  private:
    std::vector<std::byte> bytes_;
};

// Header and data of one entry: the data size and the header size lead the header, and the
// header's fields after the names start on a DWORD boundary.
std::vector<std::byte> EntryBytes(const ResourceEntry& entry) {
    Writer names;
    names.Name(entry.type);
    names.Name(entry.name);
    names.Align4();  // the header so far is 8 bytes, so this aligns within the entry too
    const std::size_t header_size = 8 + names.Size() + 16;

    Writer w;
    w.U32(static_cast<std::uint32_t>(entry.data.size()));
    w.U32(static_cast<std::uint32_t>(header_size));
    w.Append(names.Take());
    w.U32(0);  // data version
    w.U16(entry.memory_flags);
    w.U16(entry.language);
    w.U32(0);  // version
    w.U32(0);  // characteristics
    w.Append(entry.data);
    w.Align4();
    return w.Take();
}

}  // namespace

std::optional<ResourceSet> ResourceSet::Read(std::span<const std::byte> res) {
    const auto file = platform::res::ResourceFile::Parse(res);
    if (file.Truncated()) return std::nullopt;
    ResourceSet set;
    for (const platform::res::Resource& r : file.All())
        set.entries_.push_back(ResourceEntry{r.type, r.name, r.language, r.memory_flags,
                                             std::vector<std::byte>(r.data.begin(), r.data.end())});
    return set;
}

ResourceEntry* ResourceSet::Find(std::uint16_t type, std::uint16_t id) {
    for (ResourceEntry& entry : entries_)
        if (entry.type.Is(type) && entry.name.Is(id)) return &entry;
    return nullptr;
}

std::vector<std::byte> ResourceSet::Write() const {
    Writer w;
    w.Append(EntryBytes(
        ResourceEntry{platform::res::ResName{0, {}}, platform::res::ResName{0, {}}, 0, 0, {}}));
    for (const ResourceEntry& entry : entries_) w.Append(EntryBytes(entry));
    return w.Take();
}

std::optional<std::uint16_t> GetU16(std::span<const std::byte> bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 2) return std::nullopt;
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(bytes[at]) |
                                      (std::to_integer<unsigned>(bytes[at + 1]) << 8));
}

bool PutU16(std::span<std::byte> bytes, std::size_t at, std::uint16_t value) {
    if (at > bytes.size() || bytes.size() - at < 2) return false;
    bytes[at] = std::byte(value & 0xFF);
    bytes[at + 1] = std::byte(value >> 8);
    return true;
}

bool PutU32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value) {
    if (at > bytes.size() || bytes.size() - at < 4) return false;
    return PutU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF)) &&
           PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace hardening
