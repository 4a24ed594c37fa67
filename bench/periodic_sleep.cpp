// The floor for the tick period on this machine: a program that does nothing but sleep until
// each 100 ms due time, as the game's timer does, and prints the largest deviation of a period
// from 100 ms, in milliseconds, over the number of periods it is given (100 by default).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    using namespace std::chrono;
    const int periods = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const auto start = steady_clock::now();
    auto previous = start;
    duration<double, std::milli> largest{0};
    for (int k = 1; k <= periods; ++k) {
        std::this_thread::sleep_until(start + k * milliseconds(100));
        const auto now = steady_clock::now();
        largest = std::max<duration<double, std::milli>>(
            largest, std::chrono::abs(now - previous - milliseconds(100)));
        previous = now;
    }
    std::printf("%.3f\n", largest.count());
    return 0;
}
