// A computer player: one registered player of a TVantGame whose moves are
// chosen by a simple strategy and made through the same calls as a person's
// (PlayCard, KillCard, EndTurn), so the engine's rules apply to it unchanged.
//
// Strategy: open with the cheapest card, avoiding trumps; add a matching card
// sometimes (a seeded coin, tossed once per table position); as defender beat
// the first unbeaten card with the cheapest card that beats it, pick the table
// up when nothing beats it, and end the turn once everything is beaten after
// `endTurnDelay` without change, so that others can still add.
//
// It holds no clock: the host passes the time to Act, so that a timer (in the
// server) or a simulated clock (in tests and self-play) drives it.
#pragma once

#include "server/engine/TVantGame.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

// One move a player can make.
struct TGameMove
{
    enum class Kind { Play, Kill, EndTurn };
    Kind kind = Kind::Play;
    int card = -1;   // Play, Kill
    int target = -1; // Kill
    bool operator==(const TGameMove &) const = default;
};

class TComputerPlayer
{
public:
    using Clock = std::chrono::steady_clock;

    TComputerPlayer(int playerId, std::uint64_t seed,
                    std::chrono::milliseconds endTurnDelay = std::chrono::milliseconds(3000));

    int PlayerId() const { return FPlayerId; }

    // The move this player wants to make in the game's position, ignoring the
    // end-turn delay; none when it has nothing to do (not its turn, no game,
    // or it chose not to add). Tosses the adding coin for a new position.
    std::optional<TGameMove> Choose(const TVantGame &game);

    // Makes the chosen move when it is due at `now` (an end of turn with
    // everything beaten waits until the table has stayed unchanged for the
    // delay). Returns true when a move was made and accepted.
    bool Act(TVantGame &game, Clock::time_point now);

    // Makes a move through the engine's calls; the empty text when accepted.
    static QString Apply(TVantGame &game, int playerId, const TGameMove &move);

    // The cheapest of `cards`: non-trumps before trumps, then lower numbers,
    // then lower index; -1 for no cards.
    static int Cheapest(const std::vector<int> &cards, int trumpSuit);

private:
    int FPlayerId;
    std::mt19937_64 FRandom;
    std::chrono::milliseconds FEndTurnDelay;
    // The table position the adding coin was tossed for, and its result.
    std::uint64_t FCoinRevision = 0;
    bool FCoinAdds = false;
    // The position in which everything was first seen beaten, and when.
    std::uint64_t FBeatenRevision = 0;
    Clock::time_point FBeatenSince{};
};
