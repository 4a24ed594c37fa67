// Runs a program on the platform: what the runtime's GUI start-up does on the classic one.
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>

#include "platform/backend/backend.h"
#include "platform/system.h"
#include "platform/win32.h"

namespace platform {

using EntryPoint = int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int);

// The platform objects a program holds.
struct LiveObjects {
    std::size_t windows = 0;
    std::size_t contexts = 0;
    std::size_t bitmaps = 0;
    std::size_t timers = 0;
    friend bool operator==(const LiveObjects&, const LiveObjects&) = default;
};
LiveObjects Live(const System& sys);

struct RunResult {
    int status = 0;
    LiveObjects atExit;  // as the entry point returned, before the platform let go of all
};

// The platform cannot start: no fonts, or no way to draw text.
class StartupError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Makes the module from `resources` (a compiled .res file), calls `entry` with its instance,
// no previous instance, the command line and SW_SHOWDEFAULT, and returns what it returned.
// Throws StartupError, or backend::DisplayError when the display goes away.
RunResult Run(backend::Backend& backend, std::span<const std::byte> resources, EntryPoint entry,
              RunOptions options = {});

}  // namespace platform
