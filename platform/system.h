// Everything the platform holds for one run of a program, and the way the API functions reach
// it. One run at a time; the API functions fail cleanly when no run is in progress.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>

#include "platform/backend/backend.h"
#include "platform/gdi/font/font.h"
#include "platform/gdi/objects.h"
#include "platform/res/res_file.h"
#include "platform/user/desktop.h"
#include "platform/user/input.h"
#include "platform/user/queue.h"
#include "platform/user/timers.h"

namespace platform {

struct RunOptions {
    std::string commandLine;         // UTF-8; the program sees it in code page 932
    std::size_t timerLimit = 10000;  // as many timers as one program may hold at once
    // Fonts made ahead, e.g. while the display opens; made by Run when there are none.
    std::unique_ptr<gdi::FontLibrary> fonts;
};

// Starts FreeType and fontconfig and finds the faces of captions and message boxes, so that
// this work can be done beside other start-up work. nullptr if FreeType cannot start.
std::unique_ptr<gdi::FontLibrary> LoadFonts();

class System {
  public:
    static constexpr std::uint16_t kLanguage = 0x0411;  // Japanese

    System(backend::Backend& backend, std::span<const std::byte> resources,
           std::unique_ptr<gdi::FontLibrary> fonts, std::size_t timerLimit);
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // The run in progress, or nullptr.
    static System* Current();
    // The window `handle` names in the run in progress; nullptr for a stale or foreign handle,
    // or when nothing runs.
    static user::Window* WindowOf(HWND handle);

    HINSTANCE Instance() const;
    const res::ResourceFile& Resources() const { return resources_; }

    // The classes the program registered, and the platform's own (dialog, button, static).
    const user::WindowClass* FindClass(std::string_view name) const;
    bool AddClass(user::WindowClass windowClass);

    backend::Backend& backend;
    const std::unique_ptr<gdi::FontLibrary> fonts;
    const gdi::Font* captionFont;
    const gdi::Font* messageFont;
    gdi::Objects gdi;
    user::Desktop desktop;
    user::Timers timers;
    user::MessageQueue queue;
    user::InputRouter input;

  private:
    res::ResourceFile resources_;
    std::map<std::string, std::unique_ptr<user::WindowClass>> classes_;  // by upper-case name
    System* previous_;
};

}  // namespace platform
