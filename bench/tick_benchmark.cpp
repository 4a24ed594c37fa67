// The cost of one spin tick on the headless display: three reel draws, each with its own
// surface and memory context, and the present of what they changed.
#include <benchmark/benchmark.h>

#include "platform/backend/headless/headless.h"
#include "platform/inspect.h"
#include "platform/run.h"
#include "resources/embedded.h"
#include "shell/pokorinder.h"

namespace {

void SpinTick(benchmark::State& state) {
    platform::backend::HeadlessBackend display;
    display.Then([&] {
        const auto main = platform::inspect::FindTopLevel("ポコリンダー Ver1.0β");
        for (auto _ : state) {
            OnSpinTick(main->handle);
            platform::System::Current()->desktop.PresentChanged();
        }
        display.Type(VK_RETURN);  // the exit prompt has the keyboard
    });
    platform::Run(display, resources::Embedded(), WinMain);
}
BENCHMARK(SpinTick);

}  // namespace

BENCHMARK_MAIN();
