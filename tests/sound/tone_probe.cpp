// Sounds one tone through the program's real tone path and prints how long
// the call blocked, in milliseconds. Usage: tone_probe HZ MS
#include "app/qt/Sound.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const auto start = std::chrono::steady_clock::now();
    Tone(std::atoi(argv[1]), std::atoi(argv[2]));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("%lld\n", static_cast<long long>(ms.count()));
    return 0;
}
