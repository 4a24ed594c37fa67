// The cost of one spin tick on the headless display: three reel draws, each with its own
// surface and memory context, and the present of what they changed.
#include <benchmark/benchmark.h>

#include "platform/backend/headless/headless.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/observe.h"
#include "platform/run.h"
#include "resources/embedded.h"
#include "shell/pokorinder.h"

namespace {

// Ticks as fast as they can go, each presented, inside the game's own loop.
void Ticks(benchmark::State& state) {
    const auto main = platform::observe::FindTopLevel("ポコリンダー Ver1.0β");
    for (auto _ : state) {
        OnSpinTick(main->handle);
        platform::System::Current()->desktop.PresentChanged();
    }
}

void SpinTickHeadless(benchmark::State& state) {
    platform::backend::HeadlessBackend display;
    display.Then([&] {
        Ticks(state);
        display.Type(VK_RETURN);  // the exit prompt has the keyboard
    });
    platform::Run(display, resources::Embedded(), WinMain);
}
BENCHMARK(SpinTickHeadless);

// On the real display: when the game first waits, with its exit prompt open, the ticks run;
// then the program is asked to quit.
class TickingBackend : public platform::backend::SdlBackend {
  public:
    explicit TickingBackend(benchmark::State& state) : state_(state) {}
    std::optional<platform::backend::Event> Wait(
        std::optional<platform::backend::Time> deadline) override {
        if (!done_) {
            done_ = true;
            Ticks(state_);
            PostQuitMessage(0);  // ends the exit prompt's loop and so the program
            return std::nullopt;
        }
        return SdlBackend::Wait(deadline);
    }

  private:
    benchmark::State& state_;
    bool done_ = false;
};

void SpinTickOnDisplay(benchmark::State& state) {
    std::string error;
    auto opened = platform::backend::SdlBackend::Open(&error);  // sets SDL up, held to the end
    if (!opened) {
        state.SkipWithError(("no display: " + error).c_str());
        return;
    }
    TickingBackend display(state);
    platform::Run(display, resources::Embedded(), WinMain);
}
BENCHMARK(SpinTickOnDisplay);

}  // namespace

BENCHMARK_MAIN();
