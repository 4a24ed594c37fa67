#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/res/res_name.h"

namespace platform::res::detail {

// A cursor over little-endian bytes. Every read checks the bounds first and fails with
// std::nullopt instead of reading past the end; a failed read leaves the cursor where it was.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::byte> bytes, std::size_t offset = 0)
        : bytes_(bytes), offset_(offset < bytes.size() ? offset : bytes.size()) {}

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return bytes_.size() - offset_; }

    bool Skip(std::size_t count) {
        if (count > Remaining()) return false;
        offset_ += count;
        return true;
    }

    // Aligns relative to the start of the span; stops at the end if the padding is cut off, so
    // that the next read fails rather than the alignment.
    void AlignTo4() {
        const std::size_t aligned = (offset_ + 3) & ~std::size_t{3};
        offset_ = aligned < bytes_.size() ? aligned : bytes_.size();
    }

    std::optional<std::uint16_t> U16() {
        if (Remaining() < 2) return std::nullopt;
        const auto value = static_cast<std::uint16_t>(Byte(0) | (Byte(1) << 8));
        offset_ += 2;
        return value;
    }

    std::optional<std::int16_t> I16() {
        const auto value = U16();
        if (!value) return std::nullopt;
        return static_cast<std::int16_t>(*value);
    }

    std::optional<std::uint32_t> U32() {
        if (Remaining() < 4) return std::nullopt;
        const std::uint32_t value = Byte(0) | (Byte(1) << 8) | (Byte(2) << 16) | (Byte(3) << 24);
        offset_ += 4;
        return value;
    }

    std::optional<std::int32_t> I32() {
        const auto value = U32();
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }

    std::optional<std::span<const std::byte>> Bytes(std::size_t count) {
        if (count > Remaining()) return std::nullopt;
        const auto bytes = bytes_.subspan(offset_, count);
        offset_ += count;
        return bytes;
    }

    // A zero-terminated UTF-16LE string; the terminator is consumed but not returned.
    std::optional<std::u16string> String() {
        std::u16string text;
        ByteReader probe = *this;
        while (true) {
            const auto unit = probe.U16();
            if (!unit) return std::nullopt;
            if (*unit == 0) break;
            text.push_back(static_cast<char16_t>(*unit));
        }
        *this = probe;
        return text;
    }

    // 0xFFFF followed by an ordinal, or else a zero-terminated string (a lone 0x0000 being the
    // empty string, which templates use for "none").
    std::optional<ResName> NameOrOrdinal() {
        ByteReader probe = *this;
        const auto first = probe.U16();
        if (!first) return std::nullopt;
        if (*first == 0xFFFF) {
            const auto ordinal = probe.U16();
            if (!ordinal) return std::nullopt;
            *this = probe;
            return ResName{*ordinal, {}};
        }
        auto text = String();
        if (!text) return std::nullopt;
        return ResName{std::nullopt, std::move(*text)};
    }

  private:
    std::uint32_t Byte(std::size_t at) const {
        return std::to_integer<std::uint32_t>(bytes_[offset_ + at]);
    }

    std::span<const std::byte> bytes_;
    std::size_t offset_;
};

}  // namespace platform::res::detail
