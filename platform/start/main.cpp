// The program's start-up: opens the display, hands the embedded resources and the command line
// to the platform, and runs WinMain on it. Failures of the platform itself (no display, no
// fonts, a display that goes away) are said in one line on standard error with a non-zero
// status; the program's own status is passed through unchanged.
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>

#include "platform/backend/sdl/sdl_backend.h"
#include "platform/run.h"
#include "resources/embedded.h"

namespace {

int Fail(const std::string& what) {
    std::fprintf(stderr, "pokorinder: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Fonts and the display are independent: the fonts are found while the display opens.
    auto fonts = std::async(std::launch::async, platform::LoadFonts);
    std::string error;
    auto backend = platform::backend::SdlBackend::Open(&error);
    if (!backend) {
        const char* display = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((!display || !*display) && (!wayland || !*wayland))
            return Fail(
                "cannot open a display: DISPLAY is not set. Start it from a desktop session, or "
                "in a virtual display with: xvfb-run -s '-screen 0 1024x768x24' " +
                std::string(argv[0]));
        return Fail("cannot open the display \"" + std::string(display ? display : wayland) +
                    "\": " + error);
    }
    platform::RunOptions options;
    options.fonts = fonts.get();
    for (int i = 1; i < argc; ++i) {
        if (i > 1) options.commandLine += ' ';
        options.commandLine += argv[i];
    }
    try {
        return platform::Run(*backend, resources::Embedded(), WinMain, std::move(options)).status;
    } catch (const platform::StartupError& e) {
        return Fail(std::string("cannot start: ") + e.what());
    } catch (const platform::backend::DisplayError& e) {
        return Fail(e.what());
    }
}
