#pragma once

#include <cstddef>
#include <span>

namespace resources {

// The program's compiled resource file (.res), as embedded at build time.
std::span<const std::byte> Embedded();

}  // namespace resources
