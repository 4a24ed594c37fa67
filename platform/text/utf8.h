#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Building blocks shared by the converters of this library.
namespace platform::text::detail {

inline constexpr char32_t kReplacement = U'\uFFFD';

// Appends `cp` as UTF-8; surrogates and values past U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

struct Decoded {
    char32_t codepoint = kReplacement;
    std::size_t length = 0;  // bytes consumed; 0 only for empty input
};
// Decodes the first character of `utf8`. An ill-formed sequence yields U+FFFD and consumes its
// maximal valid prefix (at least one byte).
Decoded DecodeUtf8(std::string_view utf8);

}  // namespace platform::text::detail
