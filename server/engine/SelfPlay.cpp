#include "server/engine/SelfPlay.h"

#include "server/engine/TComputerPlayer.h"

#include <vector>

TSelfPlayResult PlaySelfGame(std::uint64_t seed, int players, int maxMoves, const TSelfPlayHook &afterMove)
{
    constexpr std::chrono::milliseconds delay(1000);
    TVantGame game(seed);
    std::vector<TComputerPlayer> computers;
    for (int i = 1; i <= players; ++i)
        computers.emplace_back(game.AddPlayer(QStringLiteral("Computer %1").arg(i)), seed * 31 + i, delay);
    TSelfPlayResult result;
    if (!game.Deal().isEmpty())
        return result;

    TComputerPlayer::Clock::time_point now{};
    int idlePasses = 0;
    // Two idle passes in a row, the clock moved past the delay in between,
    // mean that nobody will ever move again.
    while (game.IsRunning() && result.moves < maxMoves && idlePasses < 2) {
        bool moved = false;
        for (TComputerPlayer &computer : computers) {
            if (!computer.Act(game, now))
                continue;
            moved = true;
            ++result.moves;
            if (afterMove)
                afterMove(game);
        }
        idlePasses = moved ? 0 : idlePasses + 1;
        if (!moved)
            now += delay;
    }
    result.over = game.IsOver();
    result.loser = game.Loser();
    return result;
}
