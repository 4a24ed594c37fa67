#include "platform/res/version_info.h"

#include "platform/res/byte_reader.h"

namespace platform::res {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;
constexpr std::uint16_t kTextValue = 1;
constexpr std::size_t kBlockHeaderSize = 6;

std::size_t AlignUp4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// One block: wLength, wValueLength, wType, the key, the value, then child blocks up to `end`.
// Offsets are from the start of the record, the origin of its DWORD alignment.
struct Block {
    std::u16string key;
    std::uint16_t type = 0;
    std::span<const std::byte> value;
    std::size_t children_begin = 0;
    std::size_t end = 0;
};

// Reads the block at `offset`, which must end by `limit` (the end of its parent).
std::optional<Block> ReadBlock(std::span<const std::byte> record, std::size_t offset,
                               std::size_t limit) {
    detail::ByteReader head(record.first(limit), offset);
    const auto length = head.U16();
    const auto value_length = head.U16();
    const auto type = head.U16();
    if (!length || !value_length || !type) return std::nullopt;
    if (*length < kBlockHeaderSize || *length > limit - offset) return std::nullopt;

    Block block;
    block.type = *type;
    block.end = offset + *length;
    detail::ByteReader r(record.first(block.end), head.Offset());
    auto key = r.String();
    if (!key) return std::nullopt;
    block.key = std::move(*key);
    r.AlignTo4();
    // Text values count UTF-16 units, binary values count bytes.
    const std::size_t value_bytes =
        *type == kTextValue ? std::size_t{*value_length} * 2 : *value_length;
    const auto value = r.Bytes(value_bytes);
    if (!value) return std::nullopt;
    block.value = *value;
    r.AlignTo4();
    block.children_begin = r.Offset();
    return block;
}

std::optional<std::vector<Block>> ReadChildren(std::span<const std::byte> record,
                                               const Block& parent) {
    std::vector<Block> children;
    std::size_t offset = parent.children_begin;
    while (offset < parent.end) {
        auto child = ReadBlock(record, offset, parent.end);
        if (!child) return std::nullopt;
        offset = AlignUp4(child->end);
        children.push_back(std::move(*child));
    }
    return children;
}

// A text value up to its terminator, which the stored length may or may not include.
std::u16string ValueText(std::span<const std::byte> value) {
    std::u16string text;
    detail::ByteReader r(value);
    while (const auto unit = r.U16()) {
        if (*unit == 0) break;
        text.push_back(static_cast<char16_t>(*unit));
    }
    return text;
}

std::optional<FixedFileInfo> ReadFixed(std::span<const std::byte> value) {
    detail::ByteReader r(value);
    const auto signature = r.U32();
    if (!signature || *signature != kFixedSignature) return std::nullopt;
    std::array<std::uint32_t, 12> fields{};
    for (auto& field : fields) {
        const auto read = r.U32();
        if (!read) return std::nullopt;
        field = *read;
    }
    return FixedFileInfo{fields[0], fields[1], fields[2], fields[3], fields[4],  fields[5],
                         fields[6], fields[7], fields[8], fields[9], fields[10], fields[11]};
}

bool ReadStringFileInfo(std::span<const std::byte> record, const Block& block, VersionInfo& info) {
    const auto tables = ReadChildren(record, block);
    if (!tables) return false;
    for (const Block& table_block : *tables) {
        const auto entries = ReadChildren(record, table_block);
        if (!entries) return false;
        StringTable table{table_block.key, {}};
        for (const Block& entry : *entries) {
            table.strings.emplace_back(entry.key, ValueText(entry.value));
        }
        info.string_tables.push_back(std::move(table));
    }
    return true;
}

bool ReadVarFileInfo(std::span<const std::byte> record, const Block& block, VersionInfo& info) {
    const auto vars = ReadChildren(record, block);
    if (!vars) return false;
    for (const Block& var : *vars) {
        if (var.key != u"Translation") continue;
        if (var.value.size() % 4 != 0) return false;
        detail::ByteReader r(var.value);
        while (const auto translation = r.U32()) info.translations.push_back(*translation);
    }
    return true;
}

}  // namespace

const std::u16string* StringTable::Find(std::u16string_view name) const {
    for (const auto& [key, value] : strings) {
        if (key == name) return &value;
    }
    return nullptr;
}

const StringTable* VersionInfo::FindTable(std::u16string_view key) const {
    for (const StringTable& table : string_tables) {
        if (table.key == key) return &table;
    }
    return nullptr;
}

std::optional<VersionInfo> ParseVersionInfo(std::span<const std::byte> bytes) {
    const auto root = ReadBlock(bytes, 0, bytes.size());
    if (!root || root->key != u"VS_VERSION_INFO") return std::nullopt;

    VersionInfo info;
    if (root->value.size() == kFixedSize) {
        info.fixed = ReadFixed(root->value);
        if (!info.fixed) return std::nullopt;
    } else if (!root->value.empty()) {
        return std::nullopt;
    }

    const auto children = ReadChildren(bytes, *root);
    if (!children) return std::nullopt;
    for (const Block& child : *children) {
        if (child.key == u"StringFileInfo") {
            if (!ReadStringFileInfo(bytes, child, info)) return std::nullopt;
        } else if (child.key == u"VarFileInfo") {
            if (!ReadVarFileInfo(bytes, child, info)) return std::nullopt;
        }
    }
    return info;
}

}  // namespace platform::res
