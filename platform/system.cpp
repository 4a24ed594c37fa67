#include "platform/system.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

System* current = nullptr;

std::string Key(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

}  // namespace

// The classic face of message boxes and captions: 9 point, 12 pixels at 96 dpi.
constexpr std::string_view kUiFace = "MS UI Gothic";
constexpr int kUiPixels = 12;

std::unique_ptr<gdi::FontLibrary> LoadFonts() {
    auto fonts = gdi::FontLibrary::Create();
    if (fonts) {
        fonts->Get(kUiFace, kUiPixels, true);
        fonts->Get(kUiFace, kUiPixels);
    }
    return fonts;
}

System::System(backend::Backend& backend, std::span<const std::byte> resources,
               std::unique_ptr<gdi::FontLibrary> fontLibrary, std::size_t timerLimit)
    : backend(backend),
      fonts(std::move(fontLibrary)),
      captionFont(fonts->Get(kUiFace, kUiPixels, true)),
      messageFont(fonts->Get(kUiFace, kUiPixels)),
      gdi([this](HWND window) { return desktop.ClientCanvas(window); }),
      desktop(backend, captionFont),
      timers(timerLimit),
      queue(backend, desktop, timers),
      input(backend, desktop, queue),
      resources_(res::ResourceFile::Parse(resources)),
      previous_(current) {
    queue.OnEvent([this](const backend::Event& event) { input.Handle(event); });
    current = this;
}

System::~System() {
    current = previous_;
}

System* System::Current() {
    return current;
}

user::Window* System::WindowOf(HWND handle) {
    return current ? current->desktop.Find(handle) : nullptr;
}

HINSTANCE System::Instance() const {
    // The classic base address of a program's image.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x00400000));
}

const user::WindowClass* System::FindClass(std::string_view name) const {
    auto it = classes_.find(Key(name));
    return it == classes_.end() ? nullptr : it->second.get();
}

bool System::AddClass(user::WindowClass windowClass) {
    std::string key = Key(windowClass.name);
    if (key.empty() || classes_.contains(key)) return false;
    classes_.emplace(std::move(key), std::make_unique<user::WindowClass>(std::move(windowClass)));
    return true;
}

}  // namespace platform
