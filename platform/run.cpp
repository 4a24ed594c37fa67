#include "platform/run.h"

#include "platform/text/encoding.h"
#include "platform/user/controls.h"

namespace platform {

LiveObjects Live(const System& sys) {
    return {sys.desktop.Count(), sys.gdi.LiveContexts(), sys.gdi.LiveBitmaps(), sys.timers.Count()};
}

RunResult Run(backend::Backend& backend, std::span<const std::byte> resources, EntryPoint entry,
              RunOptions options) {
    auto fonts = options.fonts ? std::move(options.fonts) : LoadFonts();
    if (!fonts) throw StartupError("FreeType or fontconfig cannot start");
    System sys(backend, resources, std::move(fonts), options.timerLimit);
    if (!sys.messageFont || !sys.captionFont)
        throw StartupError(
            "no installed font covers Japanese (on Debian: apt-get install fonts-ipafont-gothic)");
    user::RegisterControlClasses(sys);

    std::string commandLine = text::Utf8ToCp932(options.commandLine);
    RunResult result;
    result.status = entry(sys.Instance(), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    result.atExit = Live(sys);
    return result;
}

}  // namespace platform
