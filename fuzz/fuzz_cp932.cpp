// The text converters. Whatever goes in, every UTF-8 they produce must be well-formed, and text
// converted to code page 932 must read back without the replacement character.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/text/encoding.h"

namespace {

using namespace platform::text;

// Encodes on its own rather than through the library, so that a fault there cannot hide itself.
void Encode(std::string& out, char32_t cp) {
    const auto put = [&out](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | cp >> 6);
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | cp >> 12);
        put(0x80 | (cp >> 6 & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | cp >> 18);
        put(0x80 | (cp >> 12 & 0x3F));
        put(0x80 | (cp >> 6 & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

// Well-formed UTF-8 is exactly the UTF-8 that survives decoding and re-encoding unchanged.
void ExpectWellFormed(const std::string& utf8) {
    std::string again;
    for (char32_t cp : Utf8ToCodepoints(utf8)) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) __builtin_trap();
        Encode(again, cp);
    }
    if (again != utf8) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    ExpectWellFormed(Cp932ToUtf8(bytes));

    const std::string cp932 = Utf8ToCp932(bytes);
    const std::string back = Cp932ToUtf8(cp932);
    ExpectWellFormed(back);
    if (back.find("\xEF\xBF\xBD") != std::string::npos) __builtin_trap();

    std::u16string utf16(size / 2, u'\0');
    std::memcpy(utf16.data(), data, utf16.size() * sizeof(char16_t));
    ExpectWellFormed(Utf16ToUtf8(utf16));

    Utf8ToCodepoints(bytes);
    return 0;
}
