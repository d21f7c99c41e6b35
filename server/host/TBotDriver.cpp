#include "server/host/TBotDriver.h"

#include "server/engine/TVantGame.h"

#include <QTimer>
#include <algorithm>

TBotDriver::TBotDriver(TVantGame &game, int delayMs, QObject *parent)
    : QObject(parent), FGame(game), FDelayMs(delayMs), FTimer(new QTimer(this))
{
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, &TBotDriver::Tick);
}

void TBotDriver::AddBot(int playerId, std::uint64_t seed)
{
    // A bot waits a few of its own delays before it ends a fully beaten turn,
    // so that people can still add cards.
    FBots.emplace_back(playerId, seed, std::chrono::milliseconds(std::max(3 * FDelayMs, 1)));
    Schedule();
}

void TBotDriver::Schedule()
{
    if (!FBots.empty())
        FTimer->start(FDelayMs);
}

void TBotDriver::Tick()
{
    // Bots removed from the table stop playing.
    std::erase_if(FBots, [this](const TComputerPlayer &bot) { return FGame.PlayerName(bot.PlayerId()).isEmpty(); });
    const auto now = TComputerPlayer::Clock::now();
    for (TComputerPlayer &bot : FBots) {
        // An accepted move changes the game, which schedules the next tick.
        if (bot.Act(FGame, now))
            return;
    }
    // Someone waits for a delay to run out (an end of turn): look again later.
    const bool waiting = std::any_of(FBots.begin(), FBots.end(),
                                     [this](TComputerPlayer &bot) { return bot.Choose(FGame).has_value(); });
    if (waiting)
        Schedule();
}
