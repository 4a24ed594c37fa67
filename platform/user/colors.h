#pragma once

#include "platform/gdi/surface.h"
#include "platform/win32.h"

namespace platform::user {

// The classic "Windows Standard" scheme.
gdi::Pixel SystemColor(int index);

// A class background brush is a system colour index plus one.
inline bool IsSystemColorBrush(HBRUSH brush, int* index) {
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value == 0 || value > 31) return false;
    *index = static_cast<int>(value) - 1;
    return true;
}

}  // namespace platform::user
