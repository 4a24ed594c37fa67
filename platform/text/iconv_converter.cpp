#include "platform/text/iconv_converter.h"

#include <array>
#include <cerrno>

namespace platform::text::detail {

std::optional<IconvConverter> IconvConverter::Open(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    return IconvConverter(Handle(cd));
}

IconvConverter::Result IconvConverter::Convert(std::string_view in, std::string& out) {
    iconv(handle_.get(), nullptr, nullptr, nullptr, nullptr);

    // iconv takes a non-const input pointer but only reads through it.
    char* in_ptr = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    std::array<char, 512> chunk;
    for (;;) {
        char* out_ptr = chunk.data();
        std::size_t out_left = chunk.size();
        const std::size_t status = iconv(handle_.get(), &in_ptr, &in_left, &out_ptr, &out_left);
        const int error = errno;
        out.append(chunk.data(), static_cast<std::size_t>(out_ptr - chunk.data()));
        const std::size_t consumed = in.size() - in_left;
        if (status != static_cast<std::size_t>(-1)) {
            // Flush whatever the descriptor still holds back.
            out_ptr = chunk.data();
            out_left = chunk.size();
            iconv(handle_.get(), nullptr, nullptr, &out_ptr, &out_left);
            out.append(chunk.data(), static_cast<std::size_t>(out_ptr - chunk.data()));
            return {consumed, Stop::kDone};
        }
        if (error == E2BIG && out_ptr != chunk.data()) continue;
        return {consumed, error == EINVAL ? Stop::kIncomplete : Stop::kInvalid};
    }
}

}  // namespace platform::text::detail
