#include <cstdint>

#include "platform/text/encoding.h"
#include "platform/text/utf8.h"

namespace platform::text {
namespace detail {

void AppendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

Decoded DecodeUtf8(std::string_view utf8) {
    if (utf8.empty()) return {kReplacement, 0};
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(utf8[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return {lead, 1};

    // The second byte's range depends on the lead byte; this is what rules out overlong forms,
    // surrogates and values past U+10FFFF. Later bytes are plain 80..BF.
    std::size_t length = 0;
    char32_t cp = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {kReplacement, 1};
    }

    for (std::size_t i = 1; i < length; ++i) {
        if (i >= utf8.size() || byte(i) < low || byte(i) > high) return {kReplacement, i};
        cp = (cp << 6) | (byte(i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {cp, length};
}

}  // namespace detail

std::u32string Utf8ToCodepoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const detail::Decoded d = detail::DecodeUtf8(utf8);
        out.push_back(d.codepoint);
        utf8.remove_prefix(d.length);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            detail::AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            detail::AppendUtf8(out, unit);  // a lone surrogate comes out as U+FFFD
        }
    }
    return out;
}

}  // namespace platform::text
