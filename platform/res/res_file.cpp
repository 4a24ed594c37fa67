#include "platform/res/res_file.h"

#include <optional>

#include "platform/res/byte_reader.h"

namespace platform::res {

namespace {

struct EntryHeader {
    std::uint32_t data_size = 0;
    std::uint32_t header_size = 0;
    ResName type;
    ResName name;
    std::uint16_t memory_flags = 0;
    std::uint16_t language = 0;
};

// Reads the header of the entry at the start of `bytes`; the fields must lie within HeaderSize.
std::optional<EntryHeader> ReadHeader(std::span<const std::byte> bytes) {
    detail::ByteReader sizes(bytes);
    const auto data_size = sizes.U32();
    const auto header_size = sizes.U32();
    if (!data_size || !header_size || *header_size > bytes.size()) return std::nullopt;

    detail::ByteReader r(bytes.first(*header_size), sizes.Offset());
    auto type = r.NameOrOrdinal();
    if (!type) return std::nullopt;
    auto name = r.NameOrOrdinal();
    if (!name) return std::nullopt;
    r.AlignTo4();
    const auto data_version = r.U32();
    const auto memory_flags = r.U16();
    const auto language = r.U16();
    const auto version = r.U32();
    const auto characteristics = r.U32();
    if (!data_version || !memory_flags || !language || !version || !characteristics) {
        return std::nullopt;
    }
    return EntryHeader{*data_size,       *header_size,  std::move(*type),
                       std::move(*name), *memory_flags, *language};
}

// The file starts with an empty entry of type 0 that marks it as a 32-bit resource file.
bool IsMarker(const EntryHeader& header) {
    return header.data_size == 0 && header.type.Is(0);
}

}  // namespace

ResourceFile ResourceFile::Parse(std::span<const std::byte> bytes) {
    ResourceFile file;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const auto rest = bytes.subspan(offset);
        auto header = ReadHeader(rest);
        if (!header || header->data_size > rest.size() - header->header_size) {
            file.truncated_ = true;
            break;
        }
        if (!IsMarker(*header)) {
            file.resources_.push_back(Resource{
                std::move(header->type), std::move(header->name), header->language,
                header->memory_flags, rest.subspan(header->header_size, header->data_size)});
        }
        // Data is padded to a DWORD boundary, except possibly after the last entry.
        const std::size_t end = offset + header->header_size + header->data_size;
        offset = (end + 3) & ~std::size_t{3};
    }
    return file;
}

const Resource* ResourceFile::Find(std::uint16_t type, std::uint16_t id,
                                   std::uint16_t language) const {
    const Resource* any_language = nullptr;
    for (const Resource& resource : resources_) {
        if (!resource.type.Is(type) || !resource.name.Is(id)) continue;
        if (resource.language == language) return &resource;
        if (!any_language) any_language = &resource;
    }
    return any_language;
}

}  // namespace platform::res
