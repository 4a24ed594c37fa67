#include "resources/embedded.h"

extern "C" const unsigned char pokorinder_res_begin[];
extern "C" const unsigned char pokorinder_res_end[];

namespace resources {

std::span<const std::byte> Embedded() {
    return std::as_bytes(std::span(pokorinder_res_begin, pokorinder_res_end));
}

}  // namespace resources
