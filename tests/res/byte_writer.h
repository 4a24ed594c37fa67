#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace res_test {

// Builds little-endian fixtures field by field.
class ByteWriter {
  public:
    ByteWriter& U8(std::uint8_t v) {
        bytes_.push_back(std::byte{v});
        return *this;
    }
    ByteWriter& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    ByteWriter& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& I16(std::int16_t v) { return U16(static_cast<std::uint16_t>(v)); }
    ByteWriter& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    // UTF-16LE with its terminator.
    ByteWriter& Str(std::u16string_view s) {
        for (char16_t c : s) U16(c);
        return U16(0);
    }
    ByteWriter& Ordinal(std::uint16_t v) { return U16(0xFFFF).U16(v); }
    ByteWriter& Append(std::span<const std::byte> more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& Align4() {
        while (bytes_.size() % 4 != 0) U8(0);
        return *this;
    }
    // Overwrites a WORD written earlier, for lengths known only at the end.
    void PatchU16(std::size_t at, std::uint16_t v) {
        bytes_.at(at) = std::byte(v & 0xFF);
        bytes_.at(at + 1) = std::byte(v >> 8);
    }

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::byte>& Bytes() const { return bytes_; }

  private:
    std::vector<std::byte> bytes_;
};

}  // namespace res_test
