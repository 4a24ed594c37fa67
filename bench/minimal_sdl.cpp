// The floor for start-up on this machine: the least an SDL program does to put a 400 x 300
// window on the screen, with the same hints as the game's display backend. It writes the
// moment of its one present where POKORINDER_TRACE says, then waits to be ended.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

int main() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("floor", 312, 234, 400, 300, SDL_WINDOW_BORDERLESS);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) return 1;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 120, 80, 40));
    SDL_UpdateWindowSurface(window);
    if (const char* trace = SDL_getenv("POKORINDER_TRACE")) {
        const int fd = open(trace, O_WRONLY | O_CREAT | O_APPEND, 0644);
        const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        const std::string line = "present " + std::to_string(now.count()) + " 400x300\n";
        [[maybe_unused]] auto written = write(fd, line.data(), line.size());
        close(fd);
    }
    SDL_Event event;
    while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED)
            SDL_UpdateWindowSurface(window);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
