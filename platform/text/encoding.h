#pragma once

#include <string>
#include <string_view>

namespace platform::text {

// The game's string literals are code page 932 (Shift JIS as Windows extends it); everything
// the platform hands to SDL, FreeType and fontconfig is UTF-8.

// Bytes that are invalid or cut short become U+FFFD; conversion continues after them.
std::string Cp932ToUtf8(std::string_view cp932);
// Characters code page 932 cannot represent (and invalid UTF-8) become '?'.
std::string Utf8ToCp932(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// Each ill-formed sequence (maximal subpart, as Unicode recommends) becomes one U+FFFD.
std::u32string Utf8ToCodepoints(std::string_view utf8);

}  // namespace platform::text
