#pragma once

#include <iconv.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace platform::text::detail {

// One glibc iconv conversion descriptor. Converts the longest valid prefix of its input and
// reports where and why it stopped; what to do about a bad sequence is the caller's choice.
class IconvConverter {
  public:
    enum class Stop { kDone, kInvalid, kIncomplete };
    struct Result {
        std::size_t consumed = 0;  // input bytes converted before stopping
        Stop stop = Stop::kDone;
    };

    // std::nullopt when the C library does not know one of the encodings.
    static std::optional<IconvConverter> Open(const char* to, const char* from);

    // Appends the conversion of `in` to `out`, stopping at the first invalid or incomplete
    // sequence. Returns to the initial shift state first, so every call stands alone.
    Result Convert(std::string_view in, std::string& out);

  private:
    struct Close {
        void operator()(iconv_t cd) const { iconv_close(cd); }
    };
    using Handle = std::unique_ptr<std::remove_pointer_t<iconv_t>, Close>;

    explicit IconvConverter(Handle handle) : handle_(std::move(handle)) {}

    Handle handle_;
};

}  // namespace platform::text::detail
