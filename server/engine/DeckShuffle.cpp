#include "server/engine/DeckShuffle.h"

#include <limits>
#include <numeric>
#include <utility>

std::uint64_t UniformBelow(std::mt19937_64 &random, std::uint64_t bound)
{
    // Draws at or above the largest multiple of bound would favour the low
    // remainders; they are drawn again.
    constexpr std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = top - (top % bound + 1) % bound;
    std::uint64_t draw = random();
    while (draw > limit)
        draw = random();
    return draw % bound;
}

std::vector<int> ShuffledDeck(std::mt19937_64 &random)
{
    std::vector<int> deck(52);
    std::iota(deck.begin(), deck.end(), 0);
    for (std::size_t i = deck.size() - 1; i > 0; --i)
        std::swap(deck[i], deck[UniformBelow(random, i + 1)]);
    return deck;
}
