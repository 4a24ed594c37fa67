// wsprintfA: the classic formatter. It writes at most 1024 bytes, terminator included, as the
// platform documents; conversions are c, d, i, u, x, X, s and %, with flags '-' and '0', a
// width, a precision for strings, and the size prefixes 'l' and 'h'.
#include <cstdarg>
#include <cstdint>
#include <string>

#include "platform/win32.h"

namespace {

constexpr std::size_t kLimit = 1024;

std::string Digits(std::uint64_t value, unsigned base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % base]);
        value /= base;
    } while (value);
    return out;
}

}  // namespace

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    if (!buffer) return 0;
    std::string out;
    va_list args;
    va_start(args, format);
    for (const char* p = format; p && *p && out.size() < kLimit; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        bool left = false, zero = false;
        for (; *p == '-' || *p == '0'; ++p) (*p == '-' ? left : zero) = true;
        std::size_t width = 0, precision = SIZE_MAX;
        for (; *p >= '0' && *p <= '9'; ++p)
            width = std::min<std::size_t>(width * 10 + (*p - '0'), kLimit);
        if (*p == '.') {
            precision = 0;
            for (++p; *p >= '0' && *p <= '9'; ++p)
                precision = std::min<std::size_t>(precision * 10 + (*p - '0'), kLimit);
        }
        bool isShort = false;
        if (*p == 'l')
            ++p;
        else if (*p == 'h')
            isShort = true, ++p;
        std::string piece;
        bool negative = false;
        switch (*p) {
            case 'd':
            case 'i': {
                long long v = va_arg(args, int);
                if (isShort) v = static_cast<short>(v);
                negative = v < 0;
                piece = Digits(
                    negative ? -static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v), 10,
                    false);
                break;
            }
            case 'u':
            case 'x':
            case 'X': {
                std::uint64_t v = va_arg(args, unsigned);
                if (isShort) v = static_cast<unsigned short>(v);
                piece = Digits(v, *p == 'u' ? 10 : 16, *p == 'X');
                break;
            }
            case 'c':
                piece = static_cast<char>(va_arg(args, int));
                break;
            case 's': {
                const char* s = va_arg(args, const char*);
                if (!s) s = "(null)";
                for (std::size_t i = 0; s[i] && i < precision && i < kLimit; ++i) piece += s[i];
                break;
            }
            case '\0':
                --p;
                continue;
            default:
                piece = *p;
                break;
        }
        const std::size_t length = piece.size() + (negative ? 1 : 0);
        const std::size_t pad = width > length ? width - length : 0;
        const bool zeroPad = zero && !left && *p != 's' && *p != 'c';
        if (!left && !zeroPad) out.append(pad, ' ');
        if (negative) out += '-';
        if (zeroPad) out.append(pad, '0');
        out += piece;
        if (left) out.append(pad, ' ');
    }
    va_end(args);
    if (out.size() > kLimit - 1) out.resize(kLimit - 1);
    out.copy(buffer, out.size());
    buffer[out.size()] = '\0';
    return static_cast<int>(out.size());
}
