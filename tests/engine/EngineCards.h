// Readable card names for the engine's tests: C(7) is the seven of clubs,
// S(14) the ace of spades (ranks 2 to 14, jack 11, queen 12, king 13).
#pragma once

#include "server/engine/TVantGame.h"

#include <algorithm>
#include <array>
#include <vector>

constexpr int C(int rank) { return 0 * 13 + rank - 2; }
constexpr int D(int rank) { return 1 * 13 + rank - 2; }
constexpr int H(int rank) { return 2 * 13 + rank - 2; }
constexpr int S(int rank) { return 3 * 13 + rank - 2; }

// How often each of the 52 cards sits in the deck, a hand, the table or the
// discard pile; a sound game has every count at exactly 1.
inline std::array<int, 52> CardPlaces(const TVantGame &game)
{
    std::array<int, 52> seen{};
    const auto count = [&seen](int card) {
        if (card >= 0 && card < 52)
            ++seen[card];
    };
    for (int id : game.Seats())
        for (int card : game.Hand(id))
            count(card);
    for (int card : game.Deck())
        count(card);
    for (int card : game.Discard())
        count(card);
    for (const TTableCard &played : game.Table()) {
        count(played.card);
        if (played.killingCard >= 0)
            count(played.killingCard);
    }
    return seen;
}

inline bool EveryCardOnce(const TVantGame &game)
{
    const std::array<int, 52> seen = CardPlaces(game);
    return std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
}

inline std::vector<int> Sorted(std::vector<int> cards)
{
    std::sort(cards.begin(), cards.end());
    return cards;
}
