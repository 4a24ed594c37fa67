#include "tests/platform/harness.h"

#include "resources/embedded.h"

namespace ptest {

std::string Difference(const platform::gdi::Surface& expected,
                       const platform::gdi::Surface& actual) {
    if (expected.Dimensions() != actual.Dimensions()) return "the screens differ in size";
    std::size_t count = 0;
    std::string first;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (expected.At(x, y) != actual.At(x, y) && count++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                        std::to_string(actual.At(x, y)) + ", expected " +
                        std::to_string(expected.At(x, y));
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ, first " + first;
}

}  // namespace ptest
