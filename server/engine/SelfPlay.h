// A whole game between computer players on a simulated clock: the seeded
// self-play that the property test and the benchmark run.
#pragma once

#include "server/engine/TVantGame.h"

#include <QString>

#include <cstdint>
#include <functional>

struct TSelfPlayResult
{
    bool over = false; // the game ended with a loser or a draw
    int moves = 0;     // accepted moves
    QString loser;     // the game's loser text once over
};

// Called after every accepted move, with the game to inspect or to probe.
using TSelfPlayHook = std::function<void(TVantGame &)>;

// Registers `players` computer players ("Computer 1", ...) in a game seeded
// with `seed`, deals, and lets them play until the game is over or
// `maxMoves` moves were made, or nobody can move any more.
TSelfPlayResult PlaySelfGame(std::uint64_t seed, int players, int maxMoves,
                             const TSelfPlayHook &afterMove = {});
