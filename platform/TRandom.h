// The runtime's pseudo-random source, used from the main thread only.
#pragma once

#include <cstdint>

class TRandom
{
public:
    TRandom() = delete;

    // Seeds from the clock; called once at start-up.
    static void Randomize();
    static void SetSeed(std::uint64_t Seed);
    // Uniform in 0 .. N-1; 0 when N < 1.
    static int Random(int N);
};
