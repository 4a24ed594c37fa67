#include <cstdint>

#include "platform/text/encoding.h"
#include "platform/text/iconv_converter.h"
#include "platform/text/utf8.h"

namespace platform::text {
namespace {

using detail::IconvConverter;

bool IsLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// How many bytes one U+FFFD stands for at the start of a bad sequence: a lead byte and a
// non-ASCII trail byte make one unassigned character; otherwise only the first byte is dropped,
// so that an ASCII byte after a stray lead byte still comes through.
std::size_t BadSequenceLength(std::string_view rest) {
    if (rest.size() >= 2 && IsLeadByte(static_cast<std::uint8_t>(rest[0]))) {
        const auto trail = static_cast<std::uint8_t>(rest[1]);
        if (trail >= 0x80 && trail <= 0xFC) return 2;
    }
    return 1;
}

// Opening a descriptor costs more than converting a short label, and the game converts the
// same few texts over and over; each thread keeps its own.
IconvConverter* FromCp932() {
    thread_local std::optional<IconvConverter> converter = IconvConverter::Open("UTF-8", "CP932");
    return converter ? &*converter : nullptr;
}

IconvConverter* ToCp932() {
    thread_local std::optional<IconvConverter> converter = IconvConverter::Open("CP932", "UTF-8");
    return converter ? &*converter : nullptr;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    IconvConverter* converter = FromCp932();
    while (!cp932.empty()) {
        if (converter) {
            const IconvConverter::Result result = converter->Convert(cp932, out);
            cp932.remove_prefix(result.consumed);
            if (result.stop == IconvConverter::Stop::kDone || cp932.empty()) break;
        } else if (static_cast<std::uint8_t>(cp932[0]) < 0x80) {
            // Without the C library's tables only ASCII can be told apart.
            out.push_back(cp932[0]);
            cp932.remove_prefix(1);
            continue;
        }
        detail::AppendUtf8(out, detail::kReplacement);
        cp932.remove_prefix(BadSequenceLength(cp932));
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    // Re-encoding first makes the input well-formed, so a stop can only mean "no such character
    // in code page 932" and the character to skip always has a known length.
    std::string valid;
    valid.reserve(utf8.size());
    for (char32_t cp : Utf8ToCodepoints(utf8)) detail::AppendUtf8(valid, cp);

    std::string out;
    out.reserve(valid.size());
    std::string_view rest = valid;
    IconvConverter* converter = ToCp932();
    while (!rest.empty()) {
        if (converter) {
            const IconvConverter::Result result = converter->Convert(rest, out);
            rest.remove_prefix(result.consumed);
            if (result.stop == IconvConverter::Stop::kDone || rest.empty()) break;
        } else if (static_cast<std::uint8_t>(rest[0]) < 0x80) {
            out.push_back(rest[0]);
            rest.remove_prefix(1);
            continue;
        }
        out.push_back('?');
        rest.remove_prefix(detail::DecodeUtf8(rest).length);
    }
    return out;
}

}  // namespace platform::text
