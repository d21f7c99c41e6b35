#include "platform/TRandom.h"

#include <chrono>
#include <random>

namespace {

std::mt19937_64 &Engine()
{
    static std::mt19937_64 engine;
    return engine;
}

} // namespace

void TRandom::Randomize()
{
    SetSeed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void TRandom::SetSeed(std::uint64_t Seed)
{
    Engine().seed(Seed);
}

int TRandom::Random(int N)
{
    if (N < 1)
        return 0;
    // Written out rather than std::uniform_int_distribution, whose sequence
    // differs between standard libraries: a seed gives the same draws
    // everywhere. Rejection keeps it uniform.
    const std::uint64_t range = static_cast<std::uint64_t>(N);
    const std::uint64_t limit = std::mt19937_64::max() - (std::mt19937_64::max() % range + 1) % range;
    std::uint64_t draw;
    do
        draw = Engine()();
    while (draw > limit);
    return static_cast<int>(draw % range);
}
