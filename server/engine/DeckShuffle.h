// The seeded shuffle of the deck. Written out by hand (Fisher-Yates with
// rejection sampling on raw 64-bit draws) so that a seed gives the same deck
// with every standard library, unlike std::shuffle and the distributions.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

// A uniform integer in [0, bound) from raw draws of the generator; bound > 0.
std::uint64_t UniformBelow(std::mt19937_64 &random, std::uint64_t bound);

// The 52 card indexes in shuffled order, first element drawn first.
std::vector<int> ShuffledDeck(std::mt19937_64 &random);
